// Text imports planned over any file: the first byte chooses the mode (bit 0: text and files) and
// the design (bit 1: importance level, bit 2: card key, bit 3: question image, bit 4: answer
// image, bit 5: long answer text), the second the separator (its Windows-1252 character; 0 for
// none), the rest is the file, decoded and split into lines as the import screens read it. The
// plan runs against a small folder made once (a.jpg, B.BMP, sub/c.rtf) and reads only metadata.
// It must give a plan or a refusal whose line lies within the file, and the plan must follow the
// rule of its mode: one card a line, or one card a pair of lines (a last blank line ignored).

#include "exchange/text_import.h"
#include "platform/rtf/codepage.h"
#include "platform/text_file.h"
#include "studyfile/card_line.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

const QString& folder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        if (!dir.isValid() || !QDir(dir.path()).mkdir(QStringLiteral("sub")))
            fail("cannot make the folder");
        for (const char* name : {"a.jpg", "B.BMP", "sub/c.rtf"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            if (!f.open(QIODevice::WriteOnly))
                fail("cannot make a file");
            f.write("x");
        }
        return true;
    }();
    (void)made;
    static const QString path = dir.path();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint8_t flags = data[0];
    const exchange::ImportMode mode =
        flags & 1 ? exchange::ImportMode::TextAndFiles : exchange::ImportMode::Text;
    studyfile::DesignOptions design;
    design.importanceLevel = flags & 2;
    design.cardKey = flags & 4;
    design.questionImage = flags & 8;
    design.answerImage = flags & 16;
    design.longAnswerText = flags & 32;
    const QChar separator = data[1] == 0 ? QChar() : QChar(rtf::windows1252Char(data[1]));
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2),
                           static_cast<qsizetype>(size - 2));
    const QStringList lines = rtf::splitLines(textfile::decodeText(bytes));

    try {
        const exchange::TextImportPlan plan =
            exchange::planTextImport(lines, mode, separator, QStringLiteral("1"), design, folder());
        qsizetype expected = lines.size();
        if (mode == exchange::ImportMode::TextAndFiles) {
            expected = lines.size() / 2;
            if (lines.size() % 2 == 1 && !studyfile::isBlank(lines.last()))
                ++expected;
        }
        if (qsizetype(plan.cards.size()) != expected)
            fail("the plan does not have one card per line or per pair");
        for (const exchange::PlannedCard& card : plan.cards) {
            if (card.line < 1 || card.line > lines.size())
                fail("a card's line lies outside the file");
            if (card.longAnswerPath && !card.longAnswerPath->startsWith(folder() + u'/'))
                fail("a long answer outside the folder");
            for (const auto* picture : {&card.questionPicture, &card.answerPicture})
                if (*picture && !(*picture)->path.isEmpty() &&
                    !(*picture)->path.startsWith(folder() + u'/'))
                    fail("a picture outside the folder");
        }
        if (plan.cutTexts > 0 && (plan.firstCutLine < 1 || plan.firstCutLine > lines.size()))
            fail("the first cut line lies outside the file");
    } catch (const exchange::EImportRefused& e) {
        if (e.line() < 0 || e.line() > lines.size())
            fail("a refusal names a line outside the file");
        if (e.line() == 0 && !separator.isNull())
            fail("a refusal of a line names no line");
    }
    return 0;
}
