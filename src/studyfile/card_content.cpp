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

StoredCard readStoredCard(table::Table& cards) {
    const auto text = [&](const char* name) {
        return cards.fieldByName(QLatin1String(name)).asString();
    };
    const auto bytes = [&](const char* name) {
        return cards.fieldByName(QLatin1String(name)).asBytes();
    };
    StoredCard s;
    s.state = text("Ficha_Comp_Encr");
    s.questionKind = text("Tipo_Preg_Imag");
    s.answerKind = text("Tipo_Resp_Imag");
    s.shortAnswer = bytes("Resp_Text");
    s.longAnswer = bytes("Resp_Memo");
    s.questionPicture = bytes("Preg_Imag");
    s.answerPicture = bytes("Resp_Imag");
    return s;
}

void loadCardView(CardView& view, table::Table& cards, streams::TQXStreams& qxs,
                  const DesignOptions& design, bool packedContent) {
    if (!cards.isOpen() || cards.isEmpty()) {
        loadCardView(view, StoredCard(), qxs, design, packedContent);
        view.packingLabel = packingLabel(QString(), packedContent);
        return;
    }
    loadCardView(view, readStoredCard(cards), qxs, design, packedContent);
}

void loadCardView(CardView& view, const StoredCard& stored, streams::TQXStreams& qxs,
                  const DesignOptions& design, bool packedContent) {
    ++view.loads;
    view.damaged = false;
    view.shortAnswer.clear();
    view.longAnswer.clear();
    view.longAnswerRtf.clear();
    view.questionPicture = picture::Picture();
    view.answerPicture = picture::Picture();
    view.answerPictureNumber = design.answerImage ? (design.longAnswerText ? 5 : 6) : 0;
    view.packingLabel = packingLabel(stored.state, packedContent);
    const bool packed = cardIsPacked(stored.state, packedContent);
    const auto plain = [&](const QByteArray& bytes) {
        return packed && !bytes.isEmpty() ? unpackContent(qxs, bytes) : bytes;
    };

    try {
        if (design.shortAnswerSize > 0)
            view.shortAnswer = shortAnswerText(plain(stored.shortAnswer));
        if (design.longAnswerText) {
            view.longAnswerRtf = plain(stored.longAnswer);
            if (!view.longAnswerRtf.isEmpty())
                rtf::readDocument(view.longAnswerRtf, view.longAnswer);
        }
    } catch (const streams::CorruptFile&) {
        view.damaged = true;
        return;
    }

    // Each picture on its own: one that is damaged or cannot be decoded stays empty.
    const auto picture = [&](const QString& kindText, const QByteArray& bytes) {
        const picture::Picture::Kind kind = kindOfText(kindText);
        if (kind == picture::Picture::Kind::Empty)
            return picture::Picture();
        try {
            return picture::Picture::fromBytes(plain(bytes), kind);
        } catch (const streams::CorruptFile&) {
            view.damaged = true;
        } catch (const picture::PictureError&) {
        }
        return picture::Picture();
    };
    view.questionPicture = picture(stored.questionKind, stored.questionPicture);
    view.answerPicture = picture(stored.answerKind, stored.answerPicture);
}

} // namespace studyfile
