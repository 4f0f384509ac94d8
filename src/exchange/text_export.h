// Cards taken out as text that the text imports read back: one line per card (question,
// answer, key, importance, separated by a separator, a tab by default), and optionally the files
// line of each card with its pictures and long answer written beside the text file. Exporting and
// importing again with the same separator into a study file of the same design gives the same
// cards.
#pragma once

#include "platform/error.h"
#include "studyfile/design_record.h"

#include <QChar>
#include <QString>
#include <QStringList>

namespace streams {
class TQXStreams;
}

namespace table {
class Table;
}

namespace exchange {

inline const QString kNotExportableMessage =
    QStringLiteral("No podrá exportar pues, cuando este Fichero de Estudio fue creado,\r\resa "
                   "posibilidad no fue activada. ");

class EExportRefused : public platform::Error {
public:
    using Error::Error;
};

struct TextExportRequest {
    QChar separator = u'\t';
    bool withFiles = false;   // the files line after each text line, the files beside the text
    bool windows1252 = false; // the text in Windows-1252 instead of UTF-8
};

struct TextExportResult {
    int cards = 0;
    int flattenedFields = 0; // fields that held the separator or a line break (written as blanks)
};

// Writes the cards in view of `cards` (in table order) as the text file `outPath` (replaced
// whole, CR LF after every line). With withFiles, <AutoInc>-p.jpg|bmp, <AutoInc>-r.jpg|bmp and
// <AutoInc>.rtf are written beside it, their stored bytes unpacked and unchanged (an empty .rtf
// for a card without a long answer in a long-answer study file); when one of
// those names exists there already (any letter case) nothing is written, and a later failure
// removes the files written. Throws EExportRefused (nothing written) or platform::Error.
TextExportResult exportText(table::Table& cards, streams::TQXStreams& qxs,
                            const studyfile::DesignOptions& design, bool packedContent,
                            const QString& outPath, const TextExportRequest& request);

} // namespace exchange
