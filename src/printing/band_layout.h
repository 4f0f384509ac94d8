// The three items of a print box (short text, picture, long rich text): which of them a run
// prints and where they sit inside the box, in millimetres from its top-left corner.
#pragma once

#include "printing/print_choices.h"
#include "printing/print_order.h"
#include "studyfile/design_record.h"

#include <QRectF>

#include <optional>

namespace printing {

struct BandItems {
    std::optional<QRectF> text; // empty: the item is not printed
    std::optional<QRectF> picture;
    std::optional<QRectF> richText;
};

// bandWidth and bandHeight in millimetres (report::BandGrid); columns 1 or 2.
BandItems bandItems(Side side, const PrintChoices& choices, const studyfile::DesignOptions& design,
                    int columns, double bandWidth, double bandHeight);

} // namespace printing
