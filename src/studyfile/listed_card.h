// A card given as a list entry (a row of the group entry grid, a line of a text import): its level,
// importance, key, question and answer text, and, for the text-and-image import, its pictures as
// file bytes with their kind and its long answer as the bytes of a rich-text document. The one
// writer of such cards into the row being appended.
#pragma once

#include "studyfile/design_record.h"
#include "studyfile/font_style.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace streams {
class TQXStreams;
}

namespace table {
class Table;
}

namespace studyfile {

// A picture as the bytes of its file and the kind text Tipo_Preg_Imag / Tipo_Resp_Imag take
// ("BMP" or "JPG").
struct ListedPicture {
    QByteArray bytes;
    QString kind;
};

struct ListedCard {
    int level = 1;
    std::optional<int> importance; // empty: Nive_Impo stays blank
    QString cardKey;
    QString question;
    QString answer;
    // The long answer as a rich-text document, written as it is instead of the answer text (when
    // the design has long answer text).
    std::optional<QByteArray> longAnswerRtf;
    // Written when the design allows a picture there.
    std::optional<ListedPicture> questionPicture;
    std::optional<ListedPicture> answerPicture;
};

// The long answer that a group entry row gets: an RTF document of one paragraph, the answer text
// (line breaks in it become blanks), whose characters carry the style's family, size, bold,
// italic and colour. This is what selecting all of the short-answer buffer and giving it the
// attributes of the font-style buffer produces.
QByteArray longAnswerDocument(const QString& answer, const FontStyle& style);

// Writes card into the row being appended of cards, without posting: Nive_Fich = the level;
// Nive_Impo = the importance when the design uses it (blank when none is given), else 0;
// Clav_Fich = the key when the design uses it, else blank; the packing state as
// Si_Ficha_Usa_Comp_Encr_o_no sets it; the answer: with long answer text, Resp_Memo = the long
// answer document (longAnswerRtf, or longAnswerDocument of the answer in fontStyle) and no
// Resp_Text; without it, the short answer as Guarda_Texto_Corto_Respuesta stores it (only when the
// short answer size is above 0, never cut); pictures the design allows; every large value packed
// when packedContent is on; Preg_Text = the question unchanged; Fech_Crea = todayKey;
// Fech_Ulti_Repa blank; Total_Repa 0. Fech_Prox_Repa is not touched (blank: due at once).
void writeListedCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                     bool packedContent, const ListedCard& card, const QString& todayKey,
                     const FontStyle& fontStyle);

// Appends a row, writes card into it with writeListedCard and posts it. When anything fails the
// row is cancelled, so that the table is back in browse state, and the error goes on.
void appendListedCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                      bool packedContent, const ListedCard& card, const QString& todayKey,
                      const FontStyle& fontStyle);

} // namespace studyfile
