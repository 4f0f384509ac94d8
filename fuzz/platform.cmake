# Text files of other programs: arbitrary bytes decoded and split into lines (seeds in
# text_lines_corpus/).
orbanel_fuzz(text_lines_fuzz SOURCES text_lines_fuzz.cpp LIBS orbanel_platform)
