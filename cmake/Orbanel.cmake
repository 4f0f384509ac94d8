# Helpers shared by every folder's CMakeLists.txt. Each folder creates its own library from an
# explicit file list; screens are added to the one UI library (orbanel_ui, created first in
# src/CMakeLists.txt) with target_sources(orbanel_ui PRIVATE ui/...).

# Warnings for our own code only (Qt, SQLite and GoogleTest headers come in as system headers).
set(ORBANEL_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)

# orbanel_target_defaults(<target>): our warnings, and includes relative to src/.
function(orbanel_target_defaults target)
  target_compile_options(${target} PRIVATE ${ORBANEL_WARNINGS})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
endfunction()
