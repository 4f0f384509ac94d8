// End-to-end tests of the container, lzh and cipher groups of orbanel-tool.
#include "streams/block_cipher.h"
#include "streams/lzh.h"
#include "streams/qx_streams.h"
#include "tool_runner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kWeakKey = QStringLiteral("clave8749"); // refused by the cipher as weak
const std::string kCorrupt = "error: File is corrupt.\n";
const std::string kWeakWarning =
    "warning: the cipher refuses this key (weak, or 256 bytes or more): the data is not "
    "enciphered\n";

class StreamsTool : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    bool exists(const QString& name) const { return QFile::exists(path(name)); }
    ToolResult run(const QStringList& args) const { return runTool(args, dir.path()); }
};

} // namespace

TEST_F(StreamsTool, PackListUnpack) {
    write("a.txt", "primero");
    write("x=y.bin", QByteArray(3000, 'z'));
    struct Row {
        QStringList options;
        const char* listing;
    } rows[] = {
        {{}, "compressed: no\nenciphered: no\n"},
        {{"--compress"}, "compressed: yes\nenciphered: no\n"},
        {{"--key", QString::fromUtf8("Contraseña")}, "compressed: no\nenciphered: yes\n"},
        {{"--compress", "--key=clave"}, "compressed: yes\nenciphered: yes\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.options.join(' ').toStdString());
        QStringList keyOptions;
        for (const QString& o : row.options)
            if (o != "--compress")
                keyOptions << o;
        // Options before and after the positionals; NAME=PATH splits at the first "=".
        auto r = run(QStringList{"container"} << "pack" << row.options << "c.stu"
                                              << "b=x=y.bin"
                                              << "FE_STU=a.txt");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        r = run(QStringList{"container", "list", "c.stu"} << keyOptions);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, std::string(row.listing) + "b\t3000\nFE_STU\t7\n");
        r = run(QStringList{"container", "unpack"} << keyOptions << "c.stu"
                                                   << "out");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(read("out/FE_STU"), QByteArray("primero"));
        EXPECT_EQ(read("out/b"), QByteArray(3000, 'z'));
        QDir(path("out")).removeRecursively();
    }
    // The file is the container format: the library reads it with the same key text.
    streams::TQXStreams q;
    q.Key = "clave";
    q.LoadFromFile(path("c.stu"));
    EXPECT_EQ(q.Data("fe_stu"), QByteArray("primero"));
}

TEST_F(StreamsTool, ListShowsTheFileOrder) {
    // Entries as another writer may have ordered them (its locale's collation).
    QByteArray list("\x01\x02\x03\x04\x05\x06\x07\x08\x02\x00\x00\x00", 12);
    list += QByteArray("\x04\x00"
                       "zeta"
                       "\x01\x00\x00\x00"
                       "z",
                       11);
    list += QByteArray("\x04\x00"
                       "Alfa"
                       "\x00\x00\x00\x00",
                       10);
    write("other.stu", QByteArray("  ") + list);
    const auto r = run({"container", "list", "other.stu"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "compressed: no\nenciphered: no\nzeta\t1\nAlfa\t0\n");
}

TEST_F(StreamsTool, KeysBecomeWindows1252Bytes) {
    write("in.bin", "datos de prueba");
    auto r = run({"cipher", "encipher", "in.bin", "out.bin", "--key", QString::fromUtf8("ñandú")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    streams::MemoryStream expected(QByteArray("datos de prueba"));
    ASSERT_TRUE(streams::EncipherStream(expected, QByteArray("\xF1"
                                                             "and\xFA")));
    EXPECT_EQ(read("out.bin"), expected.Bytes());
    r = run({"cipher", "decipher", "--key", QString::fromUtf8("ñandú"), "out.bin", "back.bin"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(read("back.bin"), QByteArray("datos de prueba"));
}

TEST_F(StreamsTool, WeakKeysLeaveTheDataPlainWithAWarning) {
    write("a.txt", "texto");
    auto r = run({"container", "pack", "w.stu", "--key", kWeakKey, "1=a.txt"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, kWeakWarning);
    EXPECT_EQ(read("w.stu").left(2), QByteArray(" *"));
    EXPECT_EQ(read("w.stu").mid(2, 8), QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    r = run({"container", "list", "w.stu", "--key", kWeakKey});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "compressed: no\nenciphered: yes\n1\t5\n");

    for (const QString& key : {kWeakKey, QString(256, 'k')}) {
        r = run({"cipher", "encipher", "a.txt", "e.bin", "--key", key});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, kWeakWarning);
        EXPECT_EQ(read("e.bin"), QByteArray("texto"));
    }
}

TEST_F(StreamsTool, Failures) {
    write("a.txt", "texto");
    ASSERT_EQ(run({"container", "pack", "k.stu", "--key", "buena", "1=a.txt"}).exitCode, 0);
    write("junk.stu", "  no es un contenedor");
    struct Row {
        const char* what;
        QStringList args;
        std::string err;
    } rows[] = {
        {"enciphered without key", {"container", "list", "k.stu"}, kCorrupt},
        {"wrong key", {"container", "list", "k.stu", "--key", "mala"}, kCorrupt},
        {"not a container", {"container", "list", "junk.stu"}, kCorrupt},
        {"unpack corrupt", {"container", "unpack", "junk.stu", "outdir"}, kCorrupt},
        {"empty key",
         {"container", "pack", "e.stu", "--key", "", "1=a.txt"},
         "error: the key is empty\n"},
        {"empty cipher key",
         {"cipher", "encipher", "a.txt", "e.bin", "--key="},
         "error: the key is empty\n"},
        {"missing cipher key",
         {"cipher", "decipher", "a.txt", "e.bin"},
         "error: missing --key KEY\n"},
        {"corrupt lzh",
         {"lzh", "decompress", "a.txt", "e.bin"},
         "error: Compressed file is corrupt\n"},
        {"missing entry file", {"container", "pack", "e.stu", "1=nothere.txt"}, ""},
        {"no entries", {"container", "pack", "e.stu"}, "error: missing NAME=PATH\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto r = run(row.args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(r.out, "");
        if (!row.err.empty()) {
            EXPECT_EQ(r.err, row.err);
        }
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(exists("e.stu") || exists("e.bin") || exists("outdir"));
    }
}

TEST_F(StreamsTool, UnpackRefusesNamesThatLeaveTheFolder) {
    for (const char* name : {"../fuera", "sub/dir", "..", "a\\b"}) {
        SCOPED_TRACE(name);
        streams::TQXStreams q;
        streams::MemoryStream data(QByteArray("x"));
        q.AddStream("bueno", data);
        q.AddStream(QString::fromUtf8(name), data);
        q.SaveToFile(path("evil.stu"));
        const auto r = run({"container", "unpack", "evil.stu", "out"});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.err.find("unsafe entry name"), std::string::npos) << r.err;
        EXPECT_FALSE(exists("out"));
        EXPECT_FALSE(exists("fuera"));
    }
}

TEST_F(StreamsTool, RawCodecRoundTrip) {
    QByteArray input;
    for (int i = 0; i < 20000; ++i)
        input.append(char((i * i) % 251));
    write("in.bin", input);
    auto r = run({"lzh", "compress", "in.bin", "in.lzh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(read("in.lzh"), streams::lzhCompressBytes(input));
    r = run({"lzh", "decompress", "in.lzh", "out.bin"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(read("out.bin"), input);
}
