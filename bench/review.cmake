# A review over a packed study file of 5,000 cards with large answer pictures: the card content
# loader on each next card, and answering a card.
orbanel_bench(review_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/review_bench.cpp
              LIBS orbanel_review orbanel_viewers Qt6::Gui)
