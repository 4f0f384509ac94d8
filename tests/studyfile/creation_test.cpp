// Creating a study file: what it leaves in the folder when a step fails, and pictures left by an
// earlier study file of the same name.
#include "platform/error.h"
#include "studyfile/creation.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace studyfile;

namespace {

CreationRequest requestIn(const QString& folder, bool withPicture) {
    CreationRequest r;
    r.datFolder = folder;
    r.name = QStringLiteral("Curso");
    r.description = {QStringLiteral("Descripción")};
    if (withPicture) {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        r.picture = picture::Picture::fromImage(image);
        r.pictureKind = QStringLiteral("BMP");
    }
    return r;
}

QStringList entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

} // namespace

TEST(Creation, AFailedStepLeavesNothingOfTheNewStudyFile) {
    // A folder in the way of one of the files makes that step fail after the earlier ones wrote.
    for (const char* blocker : {"Curso.DB", "Curso.BMP"}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(blocker));
        EXPECT_THROW(createStudyFile(requestIn(dir.path(), true)), platform::Error) << blocker;
        EXPECT_EQ(entries(dir.path()), QStringList{blocker}) << blocker;
        EXPECT_FALSE(studyFileExists(dir.path(), "Curso")) << blocker;
    }
}

TEST(Creation, PicturesOfAnEarlierStudyFileOfTheNameAreRemoved) {
    struct Case {
        bool withPicture;
        QStringList left;
    };
    const Case cases[] = {
        {false, {"Curso.DB", "Curso.STU"}},
        {true, {"Curso.BMP", "Curso.DB", "Curso.STU"}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const char* stale : {"curso.bmp", "CURSO.JPG", "Curso.jpeg"}) {
            QFile f(dir.filePath(stale));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old picture");
        }
        createStudyFile(requestIn(dir.path(), c.withPicture));
        EXPECT_EQ(entries(dir.path()), c.left) << c.withPicture;
        if (c.withPicture) {
            QFile written(dir.filePath("Curso.BMP"));
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            EXPECT_TRUE(written.readAll().startsWith("BM"));
        }
    }
}
