# Throughput of the LZH codec, the block cipher and the container; the lhasa extractor on the same
# -lh5- data for comparison.
orbanel_bench(streams_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/streams_bench.cpp
              LIBS orbanel_streams Qt6::Gui)
