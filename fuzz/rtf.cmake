# The RTF reader over arbitrary bytes: lines, documents, and the writers over what was read.
orbanel_fuzz(rtf_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/rtf_fuzz.cpp LIBS orbanel_platform Qt6::Gui)
