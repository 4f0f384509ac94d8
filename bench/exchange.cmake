# Text imports at the sizes of a spreadsheet's export: 10,000 text lines, and 500 pairs of lines
# with two 100 KiB pictures each, into plain and into compressed and enciphered study files; and
# 10,000 cards exported as text.
orbanel_bench(exchange_bench SOURCES exchange_bench.cpp
              LIBS orbanel_exchange orbanel_bench_support)
