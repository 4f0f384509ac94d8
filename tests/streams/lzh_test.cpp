#include "streams/corrupt_file.h"
#include "streams/lzh.h"

#include "lzh_test_support.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lzhtest;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// Inputs that exercise every part of the encoder: runs beyond the longest match, repeats across the
// 8 KiB pieces of the decoder and the window slides of the encoder, incompressible data.
struct Input {
    const char* name;
    QByteArray bytes;
};

std::vector<Input> roundTripInputs() {
    QByteArray straddle;
    const QByteArray phrase = randomBytes(300, 7);
    while (straddle.size() < 40000) {
        straddle += randomBytes(8192 - 150, unsigned(straddle.size()));
        straddle += phrase; // a 300-byte repeat that crosses each 8192-byte boundary
    }
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    return {
        {"empty", QByteArray()},
        {"one byte", QByteArray("A")},
        {"two bytes", QByteArray("AB")},
        {"three equal", QByteArray("aaa")},
        {"long run", QByteArray(5000, 'x')},
        {"run past window", QByteArray(70000, '\0')},
        {"all byte values", allBytes.repeated(3)},
        {"random 1000", randomBytes(1000, 1)},
        {"random 70000", randomBytes(70000, 2)},
        {"text 100000", spanishText(100000, 3)},
        {"straddling repeats", straddle},
        {"picture", readFixture("picture.bmp")},
        {"mixed", readFixture("picture.bmp") + spanishText(50000, 4) + randomBytes(9000, 5)},
    };
}

} // namespace

TEST(LZH, KnownStreams) {
    // Hand-derived: an empty input is one block without codes (count 0, single-symbol tables),
    // then 7 zero bits; one byte is a block of count 1 whose literal table is that single symbol.
    struct Row {
        QByteArray input;
        QByteArray framed;
    } rows[] = {
        {QByteArray(), hex("00000000"
                           "00000000000000")},
        {QByteArray("A"), hex("01000000"
                              "00010000041000")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(streams::lzhCompressBytes(row.input).toHex(), row.framed.toHex());
        EXPECT_EQ(streams::lzhDecompressBytes(row.framed), row.input);
    }
}

// The bytes the encoder writes for larger inputs, pinned so that a change of the search tree, the
// lazy parsing or the block layout shows up (lhasa reads every one of them back).
TEST(LZH, PinnedLargeStreams) {
    struct Row {
        const char* what;
        QByteArray input;
        int size;
        const char* sha1;
    } rows[] = {
        {"picture", readFixture("picture.bmp"), 10821, "340ec0d14e2e88bfff5311af8fef06ae1ac74b6c"},
        {"text", spanishText(100000, 3), 17258, "a0365c209242be99dd62e536fb6b2ccd0d46b9ec"},
        {"random", randomBytes(70000, 2), 70198, "f660f95aabd5eb2a55ac318d1c6a4b95bd3a107f"},
    };
    for (const auto& row : rows) {
        const QByteArray packed = streams::lzhCompressBytes(row.input);
        EXPECT_EQ(packed.size(), row.size) << row.what;
        EXPECT_EQ(QCryptographicHash::hash(packed, QCryptographicHash::Sha1).toHex(),
                  QByteArray(row.sha1))
            << row.what;
    }
}

TEST(LZH, RoundTripsEveryInput) {
    for (const auto& in : roundTripInputs()) {
        SCOPED_TRACE(in.name);
        const QByteArray packed = streams::lzhCompressBytes(in.bytes);
        EXPECT_EQ(streams::lzhDecompressBytes(packed), in.bytes);
    }
    ASSERT_FALSE(readFixture("picture.bmp").isEmpty());
}

TEST(LZH, RunsAndRepeatsCompress) {
    // A run of 5000 equal bytes needs about 20 matches of at most 256 bytes: a few bytes each.
    EXPECT_LT(streams::lzhCompressBytes(QByteArray(5000, 'x')).size(), 40);
    const QByteArray block = randomBytes(4000, 9);
    EXPECT_LT(streams::lzhCompressBytes(block + block).size(), 4100 + 40);
}

TEST(LZH, StreamOperationsUsePositions) {
    streams::MemoryStream source(QByteArray("skipTHE TEXT"));
    source.SetPosition(4);
    streams::MemoryStream packed(QByteArray("hdr"));
    packed.SetPosition(3);
    streams::LZHCompress(source, packed);
    EXPECT_EQ(packed.Bytes().left(3), QByteArray("hdr"));
    EXPECT_EQ(packed.Bytes().mid(3, 4), hex("08000000")); // length of what followed the position

    packed.SetPosition(3);
    streams::MemoryStream out(QByteArray("xy"));
    out.SetPosition(1);
    streams::LZHDecompress(packed, out);
    EXPECT_EQ(out.Bytes(), QByteArray("xTHE TEXT"));
    EXPECT_EQ(out.Position(), 9);
}

TEST(LZH, LengthOfZeroOrLessGivesNothing) {
    for (const char* length : {"00000000", "ffffffff", "00000080"}) {
        EXPECT_TRUE(streams::lzhDecompressBytes(hex(length) + hex("ffffffffffff")).isEmpty())
            << length;
    }
}

namespace {

// Block header of hand-made streams: count, then NT, literal/length and distance tables.
struct Stream {
    BitWriter w;
    Stream& put(int n, std::uint32_t v) {
        w.put(n, v);
        return *this;
    }
};

} // namespace

TEST(LZH, MalformedTablesAreCorrupt) {
    // The NT table as one symbol (n = 0, then the symbol) costs no bits per literal/length length.
    auto singleNt = [](Stream& s, int symbol) { s.put(16, 1).put(5, 0).put(5, symbol); };
    struct Row {
        const char* what;
        std::function<void(Stream&)> build;
    } rows[] = {
        {"NT count beyond 19", [](Stream& s) { s.put(16, 1).put(5, 20); }},
        {"NT single symbol beyond 18", [](Stream& s) { s.put(16, 1).put(5, 0).put(5, 19); }},
        {"NT length above 16",
         [](Stream& s) { s.put(16, 1).put(5, 1).put(3, 7).put(10, 0x3FF).put(1, 0); }},
        {"NT lengths incomplete", [](Stream& s) { s.put(16, 1).put(5, 2).put(3, 1).put(3, 2); }},
        {"literal count beyond 510",
         [&](Stream& s) {
             singleNt(s, 3);
             s.put(9, 511);
         }},
        {"literal single symbol beyond 509",
         [](Stream& s) { s.put(16, 1).put(5, 0).put(5, 0).put(9, 0).put(9, 510); }},
        {"zero run past the alphabet",
         [&](Stream& s) {
             singleNt(s, 2); // every length entry is a run of 20 + 9-bit field zeros
             s.put(9, 510).put(9, 500);
         }},
        {"literal lengths incomplete (one code of 1 bit)",
         [&](Stream& s) {
             singleNt(s, 3);
             s.put(9, 1);
         }},
        {"literal lengths over-full (three codes of 1 bit)",
         [&](Stream& s) {
             singleNt(s, 3);
             s.put(9, 3);
         }},
        {"distance count beyond 14",
         [&](Stream& s) {
             singleNt(s, 3);
             s.put(9, 2).put(4, 15);
         }},
        {"distance single symbol beyond 13",
         [&](Stream& s) {
             singleNt(s, 3);
             s.put(9, 2).put(4, 0).put(4, 14);
         }},
        {"distance lengths incomplete",
         [&](Stream& s) {
             singleNt(s, 3);
             s.put(9, 2).put(4, 1).put(3, 2);
         }},
        {"block without codes", [](Stream& s) { s.put(16, 0); }},
    };
    for (const auto& row : rows) {
        Stream s;
        row.build(s);
        const QByteArray framed = frame(100, s.w.bytes() + QByteArray(16, '\0'));
        try {
            streams::lzhDecompressBytes(framed);
            ADD_FAILURE() << row.what << ": no error";
        } catch (const streams::CorruptFile& e) {
            EXPECT_STREQ(e.what(), "Compressed file is corrupt") << row.what;
        }
    }
}

TEST(LZH, RefusesHugeLengthAndRunningPastTheData) {
    EXPECT_THROW(streams::lzhDecompressBytes(hex("01000040") + QByteArray(64, '\0')),
                 streams::CorruptFile);
    EXPECT_THROW(streams::lzhDecompressBytes(hex("000000")), streams::CorruptFile);

    // Literals 0 and 1 of one bit each: 60000 literals need 7500 bytes, the data has 8.
    Stream s;
    s.put(16, 65535).put(5, 0).put(5, 3); // NT: one symbol, length 1
    s.put(9, 2);                          // two literal lengths of 1
    s.put(4, 0).put(4, 0);                // distances: one symbol
    Stream sixteen = s;
    sixteen.put(16, 0xAAAA);
    EXPECT_EQ(streams::lzhDecompressBytes(frame(16, sixteen.w.bytes())),
              QByteArray::fromHex("01000100010001000100010001000100"));
    s.put(32, 0xAAAAAAAA).put(32, 0xAAAAAAAA);
    EXPECT_THROW(streams::lzhDecompressBytes(frame(60000, s.w.bytes())), streams::CorruptFile);
    // The largest accepted length with the same few bytes: refused as soon as the data runs out.
    EXPECT_THROW(streams::lzhDecompressBytes(frame(qint32(streams::kLZHMaxLength), s.w.bytes())),
                 streams::CorruptFile);

    // A truncated stream of incompressible data stops with the error instead of inventing bytes.
    const QByteArray packed = streams::lzhCompressBytes(randomBytes(50000, 11));
    EXPECT_THROW(streams::lzhDecompressBytes(packed.left(packed.size() / 2)), streams::CorruptFile);
}

TEST(LZH, DamagedStreamsFailCleanlyOrKeepTheirLength) {
    const QByteArray input = spanishText(30000, 12) + randomBytes(3000, 13);
    const QByteArray packed = streams::lzhCompressBytes(input);
    std::mt19937 gen(99);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = packed;
        for (int k = 0; k < 1 + int(gen() % 4); ++k)
            damaged[4 + int(gen() % (packed.size() - 4))] = char(gen());
        try {
            EXPECT_EQ(streams::lzhDecompressBytes(damaged).size(), input.size());
        } catch (const streams::CorruptFile&) {
        }
    }
}

// The lhasa extractor reads our -lh5- streams wrapped in an archive and gives back the input.
TEST(LZHPeer, LhasaExtractsOurStreams) {
    const QString lha = QStandardPaths::findExecutable(QStringLiteral("lha"));
    if (lha.isEmpty())
        GTEST_SKIP() << "lhasa is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& in : roundTripInputs()) {
        SCOPED_TRACE(in.name);
        const QByteArray bits = streams::lzhCompressBytes(in.bytes).mid(4);
        const QString path = dir.filePath(QStringLiteral("t.lzh"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lh5Archive(in.bytes, bits));
        f.close();
        QProcess p;
        p.start(lha, {QStringLiteral("-pq"), path});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_EQ(out.size(), in.bytes.size());
        EXPECT_TRUE(out == in.bytes);
    }
}
