// Card content: the packed form of a card's large fields (a one-stream container image), the
// card packing state, the short answer text, and the card view that the content loader fills
// from the current card.
#pragma once

#include "platform/picture/picture.h"
#include "studyfile/design_record.h"

#include <QByteArray>
#include <QString>
#include <QTextDocument>

namespace streams {
class TQXStreams;
}

namespace table {
class Table;
}

namespace studyfile {

// The name of the one stream of packed content.
inline const QString kContentStreamName = QStringLiteral("1");

// Sets the content container for an open study file: compressed as the design says, enciphered
// with key when the design says so, else plain with no key.
void configureContentContainer(streams::TQXStreams& qxs, const DesignOptions& design,
                               const QString& key);

// The packed form of plain: qxs with plain as its stream "1" (replacing the previous one), saved
// as a whole container image.
QByteArray packContent(streams::TQXStreams& qxs, const QByteArray& plain);
// The plain content of packed data: loads the container image (its marks set qxs' compressed and
// enciphered settings; qxs' key deciphers) and returns its stream "1". Throws CorruptFile (after
// qxs.OnCorrupt) when the data cannot be read.
QByteArray unpackContent(streams::TQXStreams& qxs, const QByteArray& packed);

// The card packing state that a writer sets, and the packing-change flags.
struct PackingStateChange {
    QString state; // "S" or "N"
    bool packedToPlain = false;
    bool plainToPacked = false;
};
PackingStateChange packingStateFor(const QString& oldState, bool packedContent);
// A card's large fields are packed when the study file packs content and its state is "S".
bool cardIsPacked(const QString& state, bool packedContent);
// The packing label of the card editor: "Ficha Usa QXS: S" or "Ficha Usa QXS: N".
QString packingLabel(const QString& state, bool packedContent);

// The short answer as stored (before packing): a stored text of one line.
QByteArray shortAnswerBytes(const QString& text);
// Line 0 of a stored short answer (rich text or plain), "" when it has none.
QString shortAnswerText(const QByteArray& stored);

// What the current card shows: the review screen and the card editor display it.
struct CardView {
    QString packingLabel = QStringLiteral("Ficha Usa QXS: N");
    QString shortAnswer;
    QTextDocument longAnswer;
    picture::Picture questionPicture;
    picture::Picture answerPicture;
    // The picture number that places the answer picture in the review screen (5 beside a long
    // answer, 6 alone), 0 when it is not fitted (the design has no answer image).
    int answerPictureNumber = 0;
    // Counts the loads, so a screen can tell that the card changed.
    int loads = 0;
    // The last load met damaged packed content.
    bool damaged = false;
};

// Fills view from the current row of cards (empty view for an empty table). Packed fields are
// unpacked through qxs; when unpacking fails, qxs.OnCorrupt has run, view.damaged is set and the
// parts not yet loaded are left empty. A picture that cannot be decoded empties the pictures not
// yet loaded, without a message.
void loadCardView(CardView& view, table::Table& cards, streams::TQXStreams& qxs,
                  const DesignOptions& design, bool packedContent);

// The content of a card as a writer stores it.
struct CardContent {
    QString question;
    QString shortAnswer;
    QByteArray longAnswerRtf;         // a rich-text document
    picture::Picture questionPicture; // empty: none
    picture::Picture answerPicture;
    QString cardKey;
    int importance = 0;
    int level = 1;
};
// Writes content into the row being edited or appended of cards, as the card editor's add mode
// does: level, importance (when used; below 1 becomes 0), card key (when used), dates and review
// count of a new card, the packing state, the answer text and the pictures the design has,
// packed when packedContent is on. Does not post.
void writeNewCardContent(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                         bool packedContent, const CardContent& content, const QString& todayKey);

// The kind text of a picture: "BMP", "JPG", or "NO" when it is empty.
QString pictureKindText(const picture::Picture& picture);

} // namespace studyfile
