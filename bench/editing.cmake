# Card editing at the sizes of imported courses: storing a card as the card editor does, storing a
# full grid of group entry rows, promoting level-0 cards by count and by marks, and the card grid
# over the level-0 cards with every cell read. Offscreen, like review_bench.
orbanel_bench(editing_bench SOURCES editing_bench.cpp
              LIBS orbanel_review orbanel_editing orbanel_bench_support)
