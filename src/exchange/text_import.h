// Text imports: a text file of other programs turned into new cards of the open study file, one
// card a line (text mode) or one card a pair of lines, the second naming its pictures and its long
// answer (text-and-files mode). An import runs in two phases: the plan reads and checks every line
// and refuses the whole file before any card is added; the run then stores the planned cards in
// one transaction. The two import screens and orbanel-tool share both.
#pragma once

#include "platform/error.h"
#include "studyfile/design_record.h"
#include "studyfile/font_style.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace streams {
class TQXStreams;
}

namespace table {
class Table;
}

namespace exchange {

// Pictures and long answers larger than this are not read.
constexpr qint64 kMaxImportFileSize = qint64(256) * 1024 * 1024;

enum class ImportMode {
    Text,         // one card a line
    TextAndFiles, // a text line and a files line per card
};

// A file refused as a whole before any card is added: the text is the Spanish message; line() the
// file line (from 1) it names, 0 when it names none.
class EImportRefused : public platform::Error {
public:
    EImportRefused(const QString& text, int line) : Error(text), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// A file named by a files line.
struct PlannedFile {
    QString name; // as written, trimmed
    QString path; // the file it resolves to; empty when it was refused or does not exist
};

// A name given for a place that the study file's cards do not have.
struct IgnoredPicture {
    int line = 0;
    QString name;
    bool question = true; // else the answer picture
};

struct PlannedCard {
    int line = 0; // the text line, from 1
    QString question;
    QString answer;
    QString cardKey;               // only when the design uses the card key
    std::optional<int> importance; // only when the design uses the importance level
    int filesLine = 0;             // the files line, from 1 (0: none)
    // Only where the design has the place for them.
    std::optional<PlannedFile> questionPicture;
    std::optional<PlannedFile> answerPicture;
    std::optional<QString> longAnswerPath; // resolved and checked
};

struct TextImportPlan {
    int level = 1;
    std::vector<PlannedCard> cards;
    std::vector<IgnoredPicture> ignoredPictures;
    // Questions longer than the question size and keys longer than the key size, which the table
    // cuts, and the first line where that happens (0: none).
    int cutTexts = 0;
    int firstCutLine = 0;
};

// Messages.
inline const QString kNoSeparatorMessage = QStringLiteral("Escriba un carácter separador.");
inline const QString kNoLevelMessage = QStringLiteral("Escriba el nivel de las fichas (de 0 a 9).");
QString importanceRefusal(int line, const QString& text);
QString longAnswerRefusal(int line, const QString& name);
QString importedMessage(int count);          // text mode: "Se han importado %1 fichas."
QString importedWithFilesMessage(int count); // text-and-files mode: "... Fichas."
QString cutTextsMessage(int count, int firstLine);
inline const QString kPictureFailedMessage = QStringLiteral("Error al leer imagen");

// Plans the import of a file's lines: reads no picture bytes and writes nothing. A null
// separator is an empty one. The level text is one digit (blanks around it trimmed). Names of
// files are resolved inside `folder` with files::resolveRelativeNoCase. Throws EImportRefused.
TextImportPlan planTextImport(const QStringList& lines, ImportMode mode, QChar separator,
                              const QString& levelText, const studyfile::DesignOptions& design,
                              const QString& folder);

// Appends and posts the planned cards in one transaction and returns how many were posted.
// Pictures are read at their card (at most kMaxImportFileSize), their kind told by their content,
// stored unchanged and packed when packedContent is on; one that cannot be read, is neither a
// JPEG nor a bitmap or whose name was refused calls pictureFailed with its files line and name,
// and the card goes on without it. A long-answer file is stored unchanged as the long answer; in
// a long-answer design without one the answer becomes a one-paragraph long answer in fontStyle.
// When an error ends the run, the cards posted before stay, the card being written is cancelled
// and the error goes on with "Se han importado N fichas antes del error." added to its text.
int runTextImport(table::Table& cards, streams::TQXStreams& qxs,
                  const studyfile::DesignOptions& design, bool packedContent,
                  const TextImportPlan& plan, const QString& todayKey,
                  const studyfile::FontStyle& fontStyle,
                  const std::function<void(int line, const QString& name)>& pictureFailed);

} // namespace exchange
