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
    // The long answer's rich text as stored (unpacked), for a screen that edits it.
    QByteArray longAnswerRtf;
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

// A card's fields as stored, as the content loader and the writers read them: the packing state,
// the picture kinds and the four large fields, packed or plain as the state says.
struct StoredCard {
    QString state;              // Ficha_Comp_Encr
    QString questionKind;       // Tipo_Preg_Imag
    QString answerKind;         // Tipo_Resp_Imag
    QByteArray shortAnswer;     // Resp_Text
    QByteArray longAnswer;      // Resp_Memo
    QByteArray questionPicture; // Preg_Imag
    QByteArray answerPicture;   // Resp_Imag
};
// The stored fields of the current row of cards (or of the row being edited or appended).
StoredCard readStoredCard(table::Table& cards);

// Fills view from the current row of cards (empty view for an empty table). Packed fields are
// unpacked through qxs; when unpacking the answer texts fails, qxs.OnCorrupt has run, view.damaged
// is set and nothing more is loaded. Each picture loads on its own: one that is damaged (reported
// the same way) or cannot be decoded stays empty and the other one still loads.
void loadCardView(CardView& view, table::Table& cards, streams::TQXStreams& qxs,
                  const DesignOptions& design, bool packedContent);
void loadCardView(CardView& view, const StoredCard& stored, streams::TQXStreams& qxs,
                  const DesignOptions& design, bool packedContent);

// The kind text of a picture: "BMP", "JPG", or "NO" when it is empty.
QString pictureKindText(const picture::Picture& picture);

} // namespace studyfile
