# Card printing at the sizes of large decks: filling the print table, drawing text boxes into a
# PDF, and drawing photographs unpacked from a compressed and enciphered study file. Offscreen.
orbanel_bench(printing_bench SOURCES printing_bench.cpp
              LIBS orbanel_printing orbanel_bench_support)
