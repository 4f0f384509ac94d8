# Fuzz target of the study-file formats: design-record files and packed card content (seeds in
# studyfile_corpus/, made by orbanel-tool studyfile create and add-card).
orbanel_fuzz(studyfile_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/studyfile_fuzz.cpp
             LIBS orbanel_studyfile Qt6::Gui)
