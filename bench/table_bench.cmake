orbanel_bench(table_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/table_bench.cpp LIBS orbanel_studyfile)
