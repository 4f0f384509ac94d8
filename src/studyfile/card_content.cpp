#include "studyfile/card_content.h"

#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "streams/corrupt_file.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"

namespace studyfile {

void configureContentContainer(streams::TQXStreams& qxs, const DesignOptions& design,
                               const QString& key) {
    qxs.Compressed = design.compressed;
    qxs.Encrypted = design.enciphered;
    qxs.Key = design.enciphered ? key : QString();
}

QByteArray packContent(streams::TQXStreams& qxs, const QByteArray& plain) {
    qxs.AddStream(kContentStreamName, streams::MemoryStream(plain));
    streams::MemoryStream out;
    qxs.SaveToStream(out);
    return out.Bytes();
}

QByteArray unpackContent(streams::TQXStreams& qxs, const QByteArray& packed) {
    streams::MemoryStream source(packed);
    qxs.LoadFromStream(source);
    // Shares the loaded stream's bytes instead of copying them into a stream of their own.
    return qxs.Data(kContentStreamName);
}

PackingStateChange packingStateFor(const QString& oldState, bool packedContent) {
    PackingStateChange c;
    c.state = packedContent ? QStringLiteral("S") : QStringLiteral("N");
    const QString old = oldState.left(1);
    c.packedToPlain = old == QLatin1String("S") && c.state == QLatin1String("N");
    c.plainToPacked = old == QLatin1String("N") && c.state == QLatin1String("S");
    return c;
}

bool cardIsPacked(const QString& state, bool packedContent) {
    return packedContent && state.startsWith(QLatin1Char('S'));
}

QString packingLabel(const QString& state, bool packedContent) {
    return cardIsPacked(state, packedContent) ? QStringLiteral("Ficha Usa QXS: S")
                                              : QStringLiteral("Ficha Usa QXS: N");
}

QByteArray shortAnswerBytes(const QString& text) {
    return rtf::writeLines({text});
}

QString shortAnswerText(const QByteArray& stored) {
    const QStringList lines = rtf::readLines(stored);
    return lines.isEmpty() ? QString() : lines.first();
}

QString pictureKindText(const picture::Picture& picture) {
    switch (picture.kind()) {
    case picture::Picture::Kind::Bitmap:
        return QStringLiteral("BMP");
    case picture::Picture::Kind::Jpeg:
        return QStringLiteral("JPG");
    case picture::Picture::Kind::Empty:
        break;
    }
    return QStringLiteral("NO");
}

namespace {

// The kind of a stored picture by its kind text; Empty for anything but "BMP" and "JPG".
picture::Picture::Kind kindOfText(const QString& text) {
    const QString t = text.trimmed();
    if (t == QLatin1String("BMP"))
        return picture::Picture::Kind::Bitmap;
    if (t == QLatin1String("JPG"))
        return picture::Picture::Kind::Jpeg;
    return picture::Picture::Kind::Empty;
}

} // namespace

void loadCardView(CardView& view, table::Table& cards, streams::TQXStreams& qxs,
                  const DesignOptions& design, bool packedContent) {
    ++view.loads;
    view.damaged = false;
    view.shortAnswer.clear();
    view.longAnswer.clear();
    view.questionPicture = picture::Picture();
    view.answerPicture = picture::Picture();
    view.answerPictureNumber = design.answerImage ? (design.longAnswerText ? 5 : 6) : 0;
    if (!cards.isOpen() || cards.isEmpty()) {
        view.packingLabel = packingLabel(QString(), packedContent);
        return;
    }
    const QString state = cards.fieldByName(QStringLiteral("Ficha_Comp_Encr")).asString();
    view.packingLabel = packingLabel(state, packedContent);
    const bool packed = cardIsPacked(state, packedContent);
    const auto read = [&](const char* field) {
        QByteArray bytes = cards.fieldByName(QLatin1String(field)).asBytes();
        if (packed && !bytes.isEmpty())
            bytes = unpackContent(qxs, bytes);
        return bytes;
    };

    try {
        if (design.shortAnswerSize > 0)
            view.shortAnswer = shortAnswerText(read("Resp_Text"));
        if (design.longAnswerText) {
            const QByteArray memo = read("Resp_Memo");
            if (!memo.isEmpty())
                rtf::readDocument(memo, view.longAnswer);
        }
    } catch (const streams::CorruptFile&) {
        view.damaged = true;
        return;
    }

    // Pictures: a damaged one ends the picture loading for this card; those not loaded stay
    // empty.
    try {
        const picture::Picture::Kind questionKind =
            kindOfText(cards.fieldByName(QStringLiteral("Tipo_Preg_Imag")).asString());
        if (questionKind != picture::Picture::Kind::Empty)
            view.questionPicture = picture::Picture::fromBytes(read("Preg_Imag"), questionKind);
        const picture::Picture::Kind answerKind =
            kindOfText(cards.fieldByName(QStringLiteral("Tipo_Resp_Imag")).asString());
        if (answerKind != picture::Picture::Kind::Empty)
            view.answerPicture = picture::Picture::fromBytes(read("Resp_Imag"), answerKind);
    } catch (const streams::CorruptFile&) {
        view.damaged = true;
    } catch (const picture::PictureError&) {
    }
}

void writeNewCardContent(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                         bool packedContent, const CardContent& content, const QString& todayKey) {
    const auto field = [&](const char* name) { return cards.fieldByName(QLatin1String(name)); };
    field("Nive_Fich").setInteger(content.level);
    if (design.importanceLevel)
        field("Nive_Impo").setInteger(content.importance < 1 ? 0 : content.importance);
    if (design.cardKey)
        field("Clav_Fich").setString(content.cardKey);
    field("Preg_Text").setString(content.question);
    field("Total_Repa").setInteger(0);
    field("Fech_Crea").setString(todayKey);
    field("Fech_Prox_Repa").setString(todayKey);
    field("Fech_Ulti_Repa").clear();

    const PackingStateChange change =
        packingStateFor(field("Ficha_Comp_Encr").asString(), packedContent);
    field("Ficha_Comp_Encr").setString(change.state);
    const auto store = [&](const QByteArray& plain) {
        return packedContent ? packContent(qxs, plain) : plain;
    };

    if (design.shortAnswerSize > 0)
        field("Resp_Text").setBytes(store(shortAnswerBytes(content.shortAnswer)));
    if (design.longAnswerText) {
        if (content.longAnswerRtf.isEmpty())
            field("Resp_Memo").clear();
        else
            field("Resp_Memo").setBytes(store(content.longAnswerRtf));
    }
    const auto picture = [&](const char* kindField, const char* dataField,
                             const picture::Picture& p) {
        field(kindField).setString(pictureKindText(p));
        if (p.isEmpty())
            field(dataField).clear();
        else
            field(dataField).setBytes(store(p.bytes()));
    };
    if (design.questionImage)
        picture("Tipo_Preg_Imag", "Preg_Imag", content.questionPicture);
    if (design.answerImage)
        picture("Tipo_Resp_Imag", "Resp_Imag", content.answerPicture);
}

} // namespace studyfile
