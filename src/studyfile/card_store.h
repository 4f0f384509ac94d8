// Storing a card: the one writer of a card's fields for the card editor (new cards and changes)
// and for the tool. A store writes the parts that changed and keeps the stored bytes of every
// other part, so that what this program cannot show or rebuild (formatting of other rich-text
// writers, a picture it cannot decode) is never lost by saving a card.
#pragma once

#include "platform/error.h"
#include "platform/picture/picture.h"
#include "studyfile/card_content.h"
#include "studyfile/design_record.h"

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

// What a store writes. The question and the key are always written (the key only when the design
// uses it). An unset part keeps what is stored on a change; on a new card it is empty (importance
// 0).
struct CardEdit {
    QString question;
    QString cardKey;
    std::optional<int> importance; // below 1 stores 0
    int level = 1;                 // the level of a new card
    std::optional<QString> shortAnswer;
    std::optional<QByteArray> longAnswerRtf;         // a rich-text document; empty: no long answer
    std::optional<picture::Picture> questionPicture; // an empty picture removes it
    std::optional<picture::Picture> answerPicture;
};

// The card to change is no longer among the rows the table shows.
class MissingCard : public platform::Error {
public:
    using Error::Error;
};

// The packing state, picture kinds and large fields that a store writes, as they are stored; an
// unset one keeps what is stored, an empty array clears the field.
struct ContentWrite {
    std::optional<QString> state;
    std::optional<QString> questionKind;
    std::optional<QString> answerKind;
    std::optional<QByteArray> shortAnswer;
    std::optional<QByteArray> longAnswer;
    std::optional<QByteArray> questionPicture;
    std::optional<QByteArray> answerPicture;
};
// What storing edit writes over old (null for a new card). Unchanged parts are rewritten only when
// the packing state changes from plain to packed, then as their stored bytes packed; they are
// never rebuilt from what a screen shows.
ContentWrite contentWrite(streams::TQXStreams& qxs, const DesignOptions& design, bool packedContent,
                          const CardEdit& edit, const StoredCard* old);

// Writes what w sets into the row being edited or appended of cards: texts as given, large fields
// as given (an empty array makes the field blank); unset parts are left as they are.
void writeContentFields(table::Table& cards, const ContentWrite& w);

// Writes edit into the row being edited or appended of cards. old holds the row's stored fields
// before the edit (null for a new card, which also gets its level, dates and review count); the
// content as contentWrite gives it. Does not post.
void writeCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
               bool packedContent, const CardEdit& edit, const StoredCard* old,
               const QString& todayKey);

// One store: a new card (autoInc 0) is appended, an existing one is found by its AutoInc among
// the visible rows and put in edit state; edit is written and the row posted once. On any
// failure the edit is cancelled, nothing is stored and the error goes on. Returns the stored
// card's AutoInc. Throws MissingCard when the card to change is not visible.
qint64 storeCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                 bool packedContent, const CardEdit& edit, qint64 autoInc, const QString& todayKey);

// The importance level typed into the editor: an optional sign and digits; empty, a sign alone,
// 0 or negative give 0. nullopt for a value above 32767 or text that is no whole number.
std::optional<int> readImportance(const QString& text);
inline const QString kImportanceTooLargeMessage =
    QStringLiteral("El Nivel de Importancia debe ser un número entero no mayor que 32767.");

} // namespace studyfile
