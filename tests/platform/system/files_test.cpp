#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write("x");
}

} // namespace

TEST(FilesNoCase, FindsWhateverTheCase) {
    QTemporaryDir dir;
    touch(dir.filePath("image.bmp"));
    touch(dir.filePath("Curso.db"));
    touch(dir.filePath("Curso.mb"));
    QDir(dir.path()).mkdir("IMAGE.JPG"); // a folder is never found

    EXPECT_EQ(files::findNoCase(dir.path(), "Image.BMP"), dir.filePath("image.bmp"));
    EXPECT_EQ(files::findNoCase(dir.path(), "image.jpg"), QString());
    EXPECT_EQ(files::findNoCase(dir.path(), ""), QString());
    EXPECT_EQ(files::findSibling(dir.filePath("Curso.db"), "MB"), dir.filePath("Curso.mb"));
    EXPECT_EQ(files::findSibling(dir.filePath("Curso.db"), "STU"), QString());
    EXPECT_EQ(files::findFirstNoCase(dir.path(), {"Image.JPEG", "Image.JPG", "Image.BMP"}),
              dir.filePath("image.bmp"));
    EXPECT_TRUE(files::existsNoCase(dir.filePath("CURSO.DB")));
    EXPECT_FALSE(files::existsNoCase(dir.filePath("nothing.db")));
}

TEST(FilesNoCase, ExactMatchIsPreferred) {
    QTemporaryDir dir;
    touch(dir.filePath("a.STU"));
    touch(dir.filePath("a.stu"));
    EXPECT_EQ(files::findNoCase(dir.path(), "a.stu"), dir.filePath("a.stu"));
    EXPECT_EQ(files::findNoCase(dir.path(), "a.STU"), dir.filePath("a.STU"));
    EXPECT_EQ(files::allMatchesNoCase(dir.filePath("A.Stu")).size(), 2);
}

TEST(FilesNoCase, SiblingReplacesLastTwoCharacters) {
    EXPECT_EQ(files::siblingPath("/x/dat/Curso.DB", "STU"), "/x/dat/Curso.STU");
    EXPECT_EQ(files::siblingPath("/x/dat/Curso.db", "JPEG"), "/x/dat/Curso.JPEG");
    EXPECT_EQ(files::siblingPath("b", "MB"), "MB");
}

TEST(FilesNoCase, RemoveDeletesEveryCaseVariantOnly) {
    QTemporaryDir dir;
    touch(dir.filePath("c.cla"));
    touch(dir.filePath("C.CLA"));
    touch(dir.filePath("c.clax"));
    EXPECT_TRUE(files::removeNoCase(dir.filePath("c.Cla")));
    EXPECT_FALSE(QFile::exists(dir.filePath("c.cla")));
    EXPECT_FALSE(QFile::exists(dir.filePath("C.CLA")));
    EXPECT_TRUE(QFile::exists(dir.filePath("c.clax")));
    EXPECT_FALSE(files::removeNoCase(dir.filePath("c.cla")));
}

TEST(FilesNoCase, RemoveReportsAFileItCannotDelete) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may delete in a read-only folder";
    QTemporaryDir dir;
    touch(dir.filePath("k.db"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_THROW(files::removeNoCase(dir.filePath("K.DB")), files::FileError);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(FilesWhole, WritesAndReadsBackEveryByte) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    for (const QByteArray& bytes : {QByteArray("abc\0\xff\r\n", 7), QByteArray(70000, '\x80'),
                                    QByteArray("shorter"), QByteArray()}) {
        files::writeWhole(path, bytes); // each write replaces the whole content
        EXPECT_EQ(files::readWhole(path), bytes);
    }
    // Nothing is left beside the file (the temporary was renamed over it).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.bin"});
}

TEST(FilesWhole, FailuresNameTheFileAndLeaveNothingBehind) {
    QTemporaryDir dir;
    const struct {
        const char* what;
        std::function<void()> run;
        QString path;
    } cases[] = {
        {"read a missing file", [&] { files::readWhole(dir.filePath("missing")); },
         dir.filePath("missing")},
        {"read a folder", [&] { files::readWhole(dir.path()); }, dir.path()},
        {"write in a missing folder", [&] { files::writeWhole(dir.filePath("no/f"), "x"); },
         dir.filePath("no/f")},
        {"write over a folder", [&] { files::writeWhole(dir.path(), "x"); }, dir.path()},
    };
    for (const auto& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const files::FileError& e) {
            EXPECT_TRUE(e.text().contains(c.path)) << c.what;
            EXPECT_FALSE(e.reason().isEmpty()) << c.what;
            EXPECT_EQ(e.text().toStdString(), e.what()) << c.what;
        }
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// Names from a text file resolved inside its folder: every component without regard to case, an
// exact match first; nothing outside the folder is ever reached.
TEST(FilesRelativeNoCase, ResolvesInsideTheFolderOnly) {
    QTemporaryDir base;
    const QString folder = base.filePath("lista");
    ASSERT_TRUE(QDir().mkpath(folder + "/Sub/Deep"));
    touch(folder + "/LEON.JPG");
    touch(folder + "/leon.jpg"); // the exact match wins over LEON.JPG
    touch(folder + "/cebra.bmp");
    touch(folder + "/Sub/Tigre.jpg");
    touch(folder + "/Sub/Deep/x.rtf");
    touch(base.filePath("secreto.txt")); // beside the folder, never reachable
    ASSERT_EQ(::symlink(base.filePath("secreto.txt").toLocal8Bit().constData(),
                        (folder + "/enlace.rtf").toLocal8Bit().constData()),
              0);
    ASSERT_EQ(::symlink(base.path().toLocal8Bit().constData(),
                        (folder + "/otra").toLocal8Bit().constData()),
              0);

    const struct {
        QString name;
        QString found; // relative to folder; empty: nothing
    } cases[] = {
        {"leon.jpg", "leon.jpg"},
        {"LEON.JPG", "LEON.JPG"},
        {"Cebra.Bmp", "cebra.bmp"},
        {"  cebra.BMP\t", "cebra.bmp"},
        {"sub\\tigre.JPG", "Sub/Tigre.jpg"},
        {"SUB/deep\\X.RTF", "Sub/Deep/x.rtf"},
        {"sub", ""},                                 // a folder is no file
        {"sub/tigre.jpg/", ""},                      // empty last component
        {"sub//tigre.jpg", ""},                      // empty component
        {"./cebra.bmp", ""},                         // "." component
        {"sub/../cebra.bmp", ""},                    // ".." component
        {"../secreto.txt", ""},                      // outside
        {"..\\secreto.txt", ""},                     // outside, Windows separator
        {base.filePath("secreto.txt"), ""},          // absolute
        {"\\secreto.txt", ""},                       // absolute, Windows separator
        {"C:\\lista\\cebra.bmp", ""},                // drive letter
        {"c:cebra.bmp", ""},                         // drive-relative
        {QString("cebra.bmp") + QChar(0) + "x", ""}, // NUL
        {"enlace.rtf", ""},                          // a symbolic link could point anywhere
        {"otra/secreto.txt", ""},                    // ... also a linked folder
        {":help\\33.html", ""},                      // Qt reads ":..." as a compiled-in resource
        {"sub/:x/cebra.bmp", ""},                    // ... also further on
        {"", ""},
        {"   ", ""},
        {"falta.jpg", ""},
    };
    // One resolver for every name reads each folder once and finds the same files.
    files::RelativeNameResolver resolver(folder);
    for (const auto& c : cases) {
        const QString expected = c.found.isEmpty() ? QString() : folder + "/" + c.found;
        EXPECT_EQ(files::resolveRelativeNoCase(folder, c.name), expected)
            << "name: " << c.name.toStdString();
        EXPECT_EQ(resolver.resolve(c.name), expected) << "name: " << c.name.toStdString();
    }
}
