// The order in which the cards in view fill the boxes of a print run. Question sheets take the
// cards in order. Answer sheets of two columns swap the columns of every page, so that when the
// printed question sheets are turned over about their long edge and fed again, each answer lands
// on the back of its own question.
#pragma once

#include <optional>
#include <vector>

namespace printing {

enum class Side { Questions, Answers };

// The rows of the print table for `cards` cards in view, `perPage` boxes per page in `columns`
// columns (1 or 2): each row the 0-based position of a card in view, or empty for a blank box.
// Answer pages of two columns always have perPage rows, the last one padded with blank boxes.
std::vector<std::optional<int>> printRowOrder(int cards, Side side, int perPage, int columns);

} // namespace printing
