// Splits arbitrary bytes into one card's stored fields (packing state, picture kinds, short and
// long answer, both pictures) and a design, loads them as the card content loader does, plain
// and packed, then works out the store of the unchanged card. Nothing crashes, and every large
// field is kept: left as stored, or, when a plain card becomes packed, packed from exactly its
// stored bytes.

#include "streams/corrupt_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

QString kindText(int bits) {
    switch (bits & 3) {
    case 0:
        return QStringLiteral("BMP");
    case 1:
        return QStringLiteral("JPG");
    case 2:
        return QStringLiteral("NO");
    }
    return QString();
}

// A field left alone by the store: not written, or packed from its stored bytes.
void checkKept(const std::optional<QByteArray>& written, const QByteArray& stored,
               streams::TQXStreams& qxs, const char* name) {
    if (!written)
        return;
    try {
        if (studyfile::unpackContent(qxs, *written) != stored)
            fail(name);
    } catch (const streams::CorruptFile&) {
        fail(name);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6)
        return 0;
    const uint8_t flags = data[0];
    const uint8_t design = data[1];
    const uint8_t kinds = data[2];
    const QByteArray rest(reinterpret_cast<const char*>(data + 6), qsizetype(size - 6));
    // Three cut points split the rest into the four large fields.
    qsizetype cuts[3];
    for (int i = 0; i < 3; ++i)
        cuts[i] = rest.size() * data[3 + i] / 255;
    std::sort(cuts, cuts + 3);

    studyfile::StoredCard stored;
    stored.state = (flags & 2)   ? QStringLiteral("S")
                   : (flags & 4) ? QStringLiteral("N")
                                 : QString();
    stored.questionKind = kindText(kinds);
    stored.answerKind = kindText(kinds >> 2);
    stored.shortAnswer = rest.left(cuts[0]);
    stored.longAnswer = rest.mid(cuts[0], cuts[1] - cuts[0]);
    stored.questionPicture = rest.mid(cuts[1], cuts[2] - cuts[1]);
    stored.answerPicture = rest.mid(cuts[2]);

    studyfile::DesignOptions d;
    d.questionImage = design & 1;
    d.answerImage = design & 2;
    d.longAnswerText = design & 4;
    d.shortAnswerSize = (design & 8) ? 100 : 0;
    d.cardKey = design & 16;
    d.importanceLevel = design & 32;
    d.compressed = design & 64;
    d.enciphered = design & 128;

    for (const bool packed : {false, true}) {
        streams::TQXStreams qxs;
        studyfile::configureContentContainer(qxs, d, QStringLiteral("clave"));
        studyfile::CardView view;
        studyfile::loadCardView(view, stored, qxs, d, packed);
        studyfile::configureContentContainer(qxs, d, QStringLiteral("clave"));
        const studyfile::CardEdit unchanged;
        const studyfile::ContentWrite w =
            studyfile::contentWrite(qxs, d, packed, unchanged, &stored);
        if (w.questionKind || w.answerKind)
            fail("picture kind rewritten");
        checkKept(w.shortAnswer, stored.shortAnswer, qxs, "short answer");
        checkKept(w.longAnswer, stored.longAnswer, qxs, "long answer");
        checkKept(w.questionPicture, stored.questionPicture, qxs, "question picture");
        checkKept(w.answerPicture, stored.answerPicture, qxs, "answer picture");
        // Only a card read plain that now becomes packed has anything rewritten.
        const bool repacked = !studyfile::cardIsPacked(stored.state, packed) && packed;
        if (!repacked && (w.shortAnswer || w.longAnswer || w.questionPicture || w.answerPicture))
            fail("unchanged content rewritten");
    }
    return 0;
}
