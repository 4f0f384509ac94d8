# The card content loader over cards of every packing form, and creating an enciphered study file.
orbanel_bench(studyfile_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/studyfile_bench.cpp
              LIBS orbanel_studyfile Qt6::Gui)
