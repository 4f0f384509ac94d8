#include "platform/files.h"
#include "streams/memory_stream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(MemoryStream, ReadWriteAndPositions) {
    streams::MemoryStream s;
    s.WriteBytes("abcdef");
    EXPECT_EQ(s.Position(), 6);
    s.SetPosition(2);
    s.WriteBytes("XYZWV"); // overwrites and grows
    EXPECT_EQ(s.Bytes(), QByteArray("abXYZWV"));
    s.SetPosition(9);
    s.WriteBytes("!"); // a gap is filled with zeros
    EXPECT_EQ(s.Bytes(), QByteArray("abXYZWV\0\0!", 10));

    char buf[4];
    s.SetPosition(8);
    EXPECT_EQ(s.Read(buf, 4), 2);
    EXPECT_EQ(s.Position(), 10);
    EXPECT_EQ(s.Read(buf, 4), 0);
    s.SetPosition(7);
    EXPECT_THROW(s.ReadBuffer(buf, 4), streams::ReadError);
    EXPECT_EQ(s.Position(), 7);
    s.ReadBuffer(buf, 3);
    EXPECT_EQ(QByteArray(buf, 3), QByteArray("\0\0!", 3));

    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.Bytes(), QByteArray("abX"));
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, CopyFrom) {
    streams::MemoryStream src(QByteArray("0123456789"));
    src.SetPosition(8);
    streams::MemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(src, 0), 10); // 0 copies the whole source from its first byte
    EXPECT_EQ(dst.Bytes(), QByteArray("0123456789"));
    src.SetPosition(4);
    dst.Clear();
    dst.CopyFrom(src, 3);
    EXPECT_EQ(dst.Bytes(), QByteArray("456"));
    EXPECT_EQ(src.Position(), 7);
    EXPECT_THROW(dst.CopyFrom(src, 4), streams::ReadError);
}

TEST(MemoryStream, Files) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    streams::MemoryStream s(QByteArray("contenido"));
    s.SaveToFile(path);
    streams::MemoryStream t;
    t.LoadFromFile(path);
    EXPECT_EQ(t.Bytes(), QByteArray("contenido"));
    EXPECT_THROW(t.LoadFromFile(dir.filePath("missing.bin")), files::FileError);
    EXPECT_EQ(t.Bytes(), QByteArray("contenido"));
    EXPECT_THROW(s.SaveToFile(dir.filePath("no/such/dir/f.bin")), files::FileError);
    EXPECT_THROW(s.SaveToFile(dir.path()), files::FileError); // a directory is not replaced
    EXPECT_TRUE(QDir(dir.path()).exists());
    // Only the target remains: the temporary file of the save is gone.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.bin"});
}
