# Text imports: any file planned in either mode over a small fixed folder (the first byte the mode
# and the design, the second the separator), and names from a text file resolved inside a folder.
orbanel_fuzz(text_import_fuzz SOURCES text_import_fuzz.cpp LIBS orbanel_exchange)
orbanel_fuzz(relative_name_fuzz SOURCES relative_name_fuzz.cpp LIBS orbanel_platform)
