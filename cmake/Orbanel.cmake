# Helpers shared by every folder's CMakeLists.txt.
#
# Sources are collected per library in global properties and the libraries are created once all
# folders have been read (src/CMakeLists.txt), so that several folders can add to one library
# (the platform library, the UI library) and a library appears when its first source lands.

# Warnings for our own code only (Qt, SQLite and GoogleTest headers come in as system headers).
set(ORBANEL_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)

# orbanel_sources(<lib> files...): add sources of this folder to library orbanel_<lib>.
# <lib> is one of the logic libraries (platform, streams, studyfile, review, settings, viewers,
# editing, printing, exchange), "ui" for screens, or "program" for the program's main.cpp.
function(orbanel_sources lib)
  foreach(f IN LISTS ARGN)
    get_filename_component(abs "${f}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    set_property(GLOBAL APPEND PROPERTY ORBANEL_SRC_${lib} "${abs}")
  endforeach()
endfunction()

# orbanel_link(<lib> deps...): extra link dependencies of library orbanel_<lib>.
function(orbanel_link lib)
  set_property(GLOBAL APPEND PROPERTY ORBANEL_LINK_${lib} ${ARGN})
endfunction()

function(orbanel_target_defaults target)
  target_compile_options(${target} PRIVATE ${ORBANEL_WARNINGS})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
endfunction()
# orbanel_add_subdirs(): add every direct subfolder of the current folder that has a CMakeLists.txt.
function(orbanel_add_subdirs)
  file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT entries)
  foreach(dir IN LISTS entries)
    if(IS_DIRECTORY "${dir}" AND EXISTS "${dir}/CMakeLists.txt")
      add_subdirectory("${dir}")
    endif()
  endforeach()
endfunction()
