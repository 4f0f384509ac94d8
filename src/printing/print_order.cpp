#include "printing/print_order.h"

namespace printing {

std::vector<std::optional<int>> printRowOrder(int cards, Side side, int perPage, int columns) {
    std::vector<std::optional<int>> rows;
    if (cards <= 0)
        return rows;
    if (side == Side::Questions || columns < 2) {
        rows.reserve(static_cast<size_t>(cards));
        for (int card = 0; card < cards; ++card)
            rows.emplace_back(card);
        return rows;
    }
    // Row k of answer page p holds the card that row k + perPage/2 (wrapping) holds on the
    // question page: the same height, the other column.
    const int pages = (cards + perPage - 1) / perPage;
    rows.reserve(static_cast<size_t>(pages) * static_cast<size_t>(perPage));
    for (int page = 0; page < pages; ++page) {
        for (int k = 0; k < perPage; ++k) {
            const int card = page * perPage + (k + perPage / 2) % perPage;
            rows.push_back(card < cards ? std::optional<int>(card) : std::nullopt);
        }
    }
    return rows;
}

} // namespace printing
