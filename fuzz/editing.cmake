# Fuzz target of the card selection's condition rows: any rows give a refusal or a filter the
# engine runs and that keeps level-0 cards out.
orbanel_fuzz(editing_selection_fuzz SOURCES editing_selection_fuzz.cpp
             LIBS orbanel_editing)

# Group files: card lines split with any separator, importance texts parsed, and rows written as a
# group file and read back unchanged (seeds in group_file_corpus/, the first byte of each the
# separator).
orbanel_fuzz(group_file_fuzz SOURCES group_file_fuzz.cpp LIBS orbanel_editing)
