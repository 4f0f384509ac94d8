// Text files of other programs: one table of files with the lines each must give or the refusal it
// must end in; and the files the program writes.
#include "platform/text_file.h"

#include "platform/rtf/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

enum class Refusal { None, Unreadable, NotText };

struct Case {
    const char* name;
    QByteArray bytes; // null: no file at all
    QStringList lines;
    Refusal refusal = Refusal::None;
};

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray out = bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
    for (QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo);
        out.append(bigEndian ? lo : hi);
    }
    return out;
}

const QString cancion = QStringLiteral("Canción");

std::vector<Case> cases() {
    return {
        {"utf8", "Canci\xC3\xB3n\r\n", {cancion}},
        {"windows1252", "Canci\xF3n\r\n", {cancion}},
        {"euro byte", "\x80 5\r\n", {QStringLiteral("€ 5")}},
        {"utf8 mark not in the first field", "\xEF\xBB\xBFq&a&k&3\r\nr", {"q&a&k&3", "r"}},
        {"utf16le", utf16(cancion + "\r\nb", false), {cancion, "b"}},
        {"utf16be", utf16(cancion + "\r\nb", true), {cancion, "b"}},
        {"one windows1252 byte makes the whole file windows1252",
         "Canci\xC3\xB3n\r\nCanci\xF3n",
         {QStringLiteral("CanciÃ³n"), cancion}},
        {"every line end", "a\r\nb\rc\n", {"a", "b", "c"}},
        {"an empty line kept", "a\r\n\r\nb", {"a", "", "b"}},
        {"empty file", QByteArray(""), {}},
        {"utf16 odd last byte", utf16("ab", false) + QByteArray("c"), {QStringLiteral("ab\uFFFD")}},
        {"nul byte", QByteArray("a\0b", 3), {}, Refusal::NotText},
        {"utf16 without its mark", QByteArray("a\0b\0", 4), {}, Refusal::NotText},
        {"missing file", QByteArray(), {}, Refusal::Unreadable},
    };
}

} // namespace

TEST(TextFile, ReadTable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int n = 0;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("f%1.txt").arg(++n));
        if (!c.bytes.isNull()) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        try {
            const QStringList lines = textfile::readTextLines(path);
            EXPECT_EQ(c.refusal, Refusal::None);
            EXPECT_EQ(lines, c.lines);
            EXPECT_EQ(rtf::splitLines(textfile::decodeText(c.bytes)), c.lines);
        } catch (const textfile::ETextFile& e) {
            switch (c.refusal) {
            case Refusal::None:
                ADD_FAILURE() << e.what();
                break;
            case Refusal::Unreadable:
                EXPECT_EQ(e.text(), "No se puede leer el archivo\r\r" + path);
                break;
            case Refusal::NotText:
                EXPECT_EQ(e.text(), "El archivo\r\r" + path + "\r\rno es un archivo de texto.");
                break;
            }
        }
    }
}

TEST(TextFile, AFolderIsNoReadableFile) {
    QTemporaryDir dir;
    try {
        textfile::readTextLines(dir.path());
        ADD_FAILURE() << "a folder was read";
    } catch (const textfile::ETextFile& e) {
        EXPECT_EQ(e.text(), "No se puede leer el archivo\r\r" + dir.path());
    }
}

TEST(TextFile, WritesUtf8LinesEndedByCrLfWithoutMark) {
    QTemporaryDir dir;
    const QString path = dir.filePath("g.txt");
    textfile::writeTextLines(path, {cancion, "", "q&a"});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Canci\xC3\xB3n\r\n\r\nq&a\r\n"));
    f.close();
    EXPECT_EQ(textfile::readTextLines(path), (QStringList{cancion, "", "q&a"}));
    // Writing again replaces the file whole.
    textfile::writeTextLines(path, {"x"});
    EXPECT_EQ(textfile::readTextLines(path), QStringList{"x"});
    textfile::writeTextLines(path, {});
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(TextFile, AFailedWriteSaysSoAndLeavesWhatWasThere) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/folder/g.txt");
    try {
        textfile::writeTextLines(missing, {"a"});
        ADD_FAILURE() << "written";
    } catch (const textfile::ETextFile& e) {
        EXPECT_EQ(e.text(), "No se ha podido guardar el archivo\r\r" + missing);
    }
    // A folder in the way is neither replaced nor emptied.
    const QString folder = dir.filePath("taken.txt");
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.txt"));
    QFile inside(QDir(folder).filePath("kept"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();
    EXPECT_THROW(textfile::writeTextLines(folder, {"a"}), textfile::ETextFile);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath("kept")));
}
