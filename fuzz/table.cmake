# Fuzz target of the table engine's filter expressions.
orbanel_fuzz(table_filter_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/table_filter_fuzz.cpp
             LIBS orbanel_studyfile)
