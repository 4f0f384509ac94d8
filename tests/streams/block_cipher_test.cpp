#include "streams/block_cipher.h"

#include "pi_words.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A key whose schedule leaves two equal entries in an S-box (found by searching "claveN").
const QByteArray kWeakKey("clave8749");

std::uint32_t be32(const QByteArray& b, int at) {
    return std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint32_t(std::uint8_t(b[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 8 | std::uint32_t(std::uint8_t(b[at + 3]));
}
std::uint32_t le32(const QByteArray& b, int at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

bool anyEqualPairInSBoxes(const streams::BlockCipher& c) {
    for (int box = 0; box < 4; ++box)
        for (int i = 0; i < 256; ++i)
            for (int j = i + 1; j < 256; ++j)
                if (c.sWord(box, i) == c.sWord(box, j))
                    return true;
    return false;
}

} // namespace

TEST(BlockCipher, InitialTablesAreTheDigitsOfPi) {
    const auto pi = pi_words::fraction(1058);
    EXPECT_EQ(pi[0], 0x243F6A88u);
    EXPECT_EQ(pi[1042], 0xB83ACB02u);
    EXPECT_EQ(pi[1043], 0x2002397Au);
    EXPECT_EQ(pi[1044], 0x6EC6FB5Bu);
    EXPECT_EQ(pi[1057], 0xBC4CEE16u);
    streams::BlockCipher c;
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(c.pWord(i), pi[i]) << "P" << i;
    for (int box = 0; box < 4; ++box)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(c.sWord(box, i), pi[18 + 256 * box + i]) << "S" << box << "[" << i << "]";
    for (int i = 18; i < 34; ++i)
        EXPECT_EQ(c.pWord(i), pi[1042 + i - 18]) << "P" << i;
    EXPECT_EQ(c.rounds(), 16);
}

// Eric Young's Blowfish test vectors (key, clear block, cipher block, halves big-endian).
TEST(BlockCipher, PublishedVectors) {
    static const char* ecb[][3] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
        {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
        {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
        {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
        {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
        {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
        {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
        {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
        {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
        {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
        {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
        {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
        {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
        {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
        {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
        {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
        {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
        {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
        {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
        {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
        {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
        {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
        {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
        {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
        {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
        // Variable key length: the first 1..24 bytes of one key, the same clear block.
        {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
        {"F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6"},
        {"F0E1D2", "FEDCBA9876543210", "E9C2B70A1BC65CF3"},
        {"F0E1D2C3", "FEDCBA9876543210", "BE1E639408640F05"},
        {"F0E1D2C3B4", "FEDCBA9876543210", "B39E44481BDB1E6E"},
        {"F0E1D2C3B4A5", "FEDCBA9876543210", "9457AA83B1928C0D"},
        {"F0E1D2C3B4A596", "FEDCBA9876543210", "8BB77032F960629D"},
        {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
        {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
        {"F0E1D2C3B4A596877869", "FEDCBA9876543210", "122BA70B3AB64AE0"},
        {"F0E1D2C3B4A5968778695A", "FEDCBA9876543210", "3A833C9AFFC537F6"},
        {"F0E1D2C3B4A5968778695A4B", "FEDCBA9876543210", "9409DA87A90F6BF2"},
        {"F0E1D2C3B4A5968778695A4B3C", "FEDCBA9876543210", "884F80625060B8B4"},
        {"F0E1D2C3B4A5968778695A4B3C2D", "FEDCBA9876543210", "1F85031C19E11968"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E", "FEDCBA9876543210", "79D9373A714CA34F"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F", "FEDCBA9876543210", "93142887EE3BE15C"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F00", "FEDCBA9876543210", "03429E838CE2D14B"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011", "FEDCBA9876543210", "A4299E27469FF67B"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F001122", "FEDCBA9876543210", "AFD5AED1C1BC96A8"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F00112233", "FEDCBA9876543210", "10851C0E3858DA9F"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344", "FEDCBA9876543210", "E6F51ED79B9DB21F"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F001122334455", "FEDCBA9876543210", "64A6E14AFD36B46F"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F00112233445566", "FEDCBA9876543210", "80C7D7D45A5479AD"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210",
         "05044B62FA52D080"},
    };
    for (const auto& row : ecb) {
        SCOPED_TRACE(std::string(row[0]) + " " + row[1]);
        const QByteArray key = QByteArray::fromHex(row[0]);
        const QByteArray clear = QByteArray::fromHex(row[1]);
        const QByteArray cipher = QByteArray::fromHex(row[2]);
        streams::BlockCipher c;
        c.SetCipherKey(key, 16); // some of these keys may be refused as weak: the core still runs
        std::uint32_t l = be32(clear, 0), r = be32(clear, 4);
        c.EncipherBlock(l, r);
        EXPECT_EQ(l, be32(cipher, 0));
        EXPECT_EQ(r, be32(cipher, 4));
        c.DecipherBlock(l, r);
        EXPECT_EQ(l, be32(clear, 0));
        EXPECT_EQ(r, be32(clear, 4));
    }
}

TEST(BlockCipher, StreamBlocksAreLittleEndianHalves) {
    const QByteArray key = QByteArray::fromHex("0123456789ABCDEF");
    const QByteArray plain("\x11\x22\x33\x44\x55\x66", 6); // pads to one block with 01 01
    streams::MemoryStream s(plain);
    ASSERT_TRUE(streams::EncipherStream(s, key));
    ASSERT_EQ(s.Size(), 8);
    const QByteArray padded = plain + QByteArray("\x01\x01", 2);
    streams::BlockCipher c;
    c.SetCipherKey(key, 16);
    std::uint32_t l = le32(padded, 0), r = le32(padded, 4);
    c.EncipherBlock(l, r);
    EXPECT_EQ(le32(s.Bytes(), 0), l);
    EXPECT_EQ(le32(s.Bytes(), 4), r);
}

TEST(BlockCipher, RoundCounts) {
    const QByteArray key("una clave");
    auto encipher = [&](int rounds) {
        streams::BlockCipher c;
        c.SetCipherKey(key, rounds);
        std::uint32_t l = 1, r = 2;
        c.EncipherBlock(l, r);
        return std::make_tuple(c.rounds(), l, r);
    };
    struct Row {
        int requested, used;
    } rows[] = {{3, 4}, {4, 4}, {2, 2}, {31, 32}, {32, 32}, {33, 16}, {1, 16}, {0, 16}, {-5, 16}};
    for (const auto& row : rows) {
        EXPECT_EQ(std::get<0>(encipher(row.requested)), row.used) << row.requested;
        EXPECT_EQ(encipher(row.requested), encipher(row.used)) << row.requested;
    }
    EXPECT_NE(encipher(4), encipher(16));
    // Decipherment inverts every round count.
    for (int rounds : {2, 8, 20, 32}) {
        streams::BlockCipher c;
        c.SetCipherKey(key, rounds);
        std::uint32_t l = 0xDEADBEEF, r = 0x01234567;
        c.EncipherBlock(l, r);
        c.DecipherBlock(l, r);
        EXPECT_EQ(l, 0xDEADBEEFu);
        EXPECT_EQ(r, 0x01234567u);
    }
}

TEST(BlockCipher, OnlyTheFirstBytesOfTheRoundsCount) {
    // At 16 rounds the schedule reads 4 x 18 = 72 key bytes; at 32 rounds 4 x 34 = 136.
    QByteArray a(100, 'k'), b(100, 'k');
    b[80] = 'X';
    streams::BlockCipher ca, cb;
    ca.SetCipherKey(a, 16);
    cb.SetCipherKey(b, 16);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(ca.pWord(i), cb.pWord(i));
    EXPECT_EQ(ca.sWord(3, 255), cb.sWord(3, 255));
    ca.SetCipherKey(a, 32);
    cb.SetCipherKey(b, 32);
    EXPECT_NE(ca.pWord(0), cb.pWord(0));
}

TEST(BlockCipher, WeakKeyCheckMatchesComparingEveryPair) {
    for (const QByteArray& key :
         {kWeakKey, QByteArray("clave8748"), QByteArray("x"), QByteArray("contraseña")}) {
        streams::BlockCipher c;
        const bool accepted = c.SetCipherKey(key, 16);
        EXPECT_EQ(accepted, !anyEqualPairInSBoxes(c)) << key.constData();
    }
    streams::BlockCipher c;
    EXPECT_FALSE(c.SetCipherKey(kWeakKey, 16));
    EXPECT_TRUE(c.SetCipherKey(QByteArray("clave8748"), 16));
}

TEST(BlockCipher, KeysThatCannotBeUsed) {
    streams::BlockCipher c;
    EXPECT_THROW(c.SetCipherKey(QByteArray(), 16), streams::CipherKeyError);
    EXPECT_FALSE(c.SetCipherKey(QByteArray(256, 'a'), 16));
    EXPECT_TRUE(c.SetCipherKey(QByteArray(255, 'a'), 16));
    c.reset();
    streams::BlockCipher fresh;
    EXPECT_EQ(c.pWord(0), fresh.pWord(0));
    EXPECT_EQ(c.sWord(2, 7), fresh.sWord(2, 7));

    // An empty stream is left as it is before the key is looked at, even an empty key.
    streams::MemoryStream empty;
    EXPECT_FALSE(streams::EncipherStream(empty, QByteArray()));
    EXPECT_FALSE(streams::DecipherStream(empty, QByteArray()));
    EXPECT_EQ(empty.Size(), 0);

    streams::MemoryStream s(QByteArray("datos"));
    EXPECT_THROW(streams::EncipherStream(s, QByteArray()), streams::CipherKeyError);
    EXPECT_THROW(streams::DecipherStream(s, QByteArray()), streams::CipherKeyError);
    for (const QByteArray& refused : {kWeakKey, QByteArray(256, 'a'), QByteArray(1000, 'b')}) {
        EXPECT_FALSE(streams::EncipherStream(s, refused));
        EXPECT_EQ(s.Bytes(), QByteArray("datos"));
        EXPECT_FALSE(streams::DecipherStream(s, refused));
        EXPECT_EQ(s.Bytes(), QByteArray("datos"));
        EXPECT_FALSE(streams::cipherKeyAccepted(refused));
    }
    EXPECT_TRUE(streams::cipherKeyAccepted("clave"));
}

TEST(BlockCipher, Padding) {
    struct Row {
        int length;
        const char* pad;
    } rows[] = {
        {0, "01010101010101"
            "07"},
        {1, "010101010101"
            "06"},
        {6, "01"
            "01"},
        {7, "0101010101010101"
            "08"},
        {8, "01010101010101"
            "07"},
        {14, "01"
             "01"},
        {15, "0101010101010101"
             "08"},
        {16, "01010101010101"
             "07"},
    };
    for (const auto& row : rows) {
        streams::MemoryStream s(QByteArray(row.length, 'z'));
        streams::PadStream(s);
        EXPECT_EQ(s.Bytes().mid(row.length).toHex(), QByteArray(row.pad)) << row.length;
        EXPECT_EQ(s.Size() % 8, 0);
    }
}

TEST(BlockCipher, StreamRoundTrips) {
    const QByteArray key("Contraseña");
    std::vector<int> lengths;
    for (int n = 0; n <= 17; ++n)
        lengths.push_back(n);
    lengths.insert(lengths.end(), {1000, 65539, 300001});
    for (int n : lengths) {
        QByteArray plain(n, Qt::Uninitialized);
        for (int i = 0; i < n; ++i)
            plain[i] = char(i * 7 + 3);
        streams::MemoryStream s(plain);
        EXPECT_EQ(streams::EncipherStream(s, key), n > 0);
        if (n == 0) {
            EXPECT_EQ(s.Size(), 0);
            continue;
        }
        EXPECT_EQ(s.Size(), n + 8 - (n + 1) % 8 + 1) << n;
        EXPECT_NE(s.Bytes().left(n), plain) << n;
        ASSERT_TRUE(streams::DecipherStream(s, key));
        EXPECT_EQ(s.Bytes(), plain) << n;
    }
}

TEST(BlockCipher, DecipheringDamagedData) {
    const QByteArray key("clave");
    // A wrong key deciphers to other bytes without noticing.
    streams::MemoryStream s(QByteArray(20, 'a'));
    streams::EncipherStream(s, key);
    streams::DecipherStream(s, QByteArray("otra"));
    EXPECT_NE(s.Bytes(), QByteArray(20, 'a'));

    // A final count larger than the stream leaves it empty.
    streams::BlockCipher c;
    c.SetCipherKey(key, 16);
    std::uint32_t l = 0, r = 0xFF000000u; // last byte (little-endian) 0xFF
    c.EncipherBlock(l, r);
    QByteArray block(8, '\0');
    for (int i = 0; i < 4; ++i) {
        block[i] = char(l >> (8 * i));
        block[4 + i] = char(r >> (8 * i));
    }
    streams::MemoryStream t(block);
    EXPECT_TRUE(streams::DecipherStream(t, key));
    EXPECT_EQ(t.Size(), 0);

    // A stream without a whole block: only the final count applies.
    streams::MemoryStream u(QByteArray("abc\x01\x01", 5));
    EXPECT_TRUE(streams::DecipherStream(u, key));
    EXPECT_EQ(u.Bytes(), QByteArray("abc"));
}

TEST(BlockCipher, StreamsAgreeWithTheBlockFunctions) {
    const QByteArray key("Contraseña");
    streams::BlockCipher c;
    ASSERT_TRUE(c.SetCipherKey(key, 16));
    for (int n : {1, 7, 8, 9, 15, 16, 17, 23, 24, 31, 32, 33, 40, 1001}) {
        SCOPED_TRACE(n);
        QByteArray plain(n, Qt::Uninitialized);
        for (int i = 0; i < n; ++i)
            plain[i] = char(i * 13 + 5);
        streams::MemoryStream s(plain);
        ASSERT_TRUE(streams::EncipherStream(s, key));

        // Every block of the stream is the padded plain block through EncipherBlock.
        streams::MemoryStream padded(plain);
        streams::PadStream(padded);
        ASSERT_EQ(s.Size(), padded.Size());
        for (int at = 0; at < padded.Size(); at += 8) {
            std::uint32_t l = le32(padded.Bytes(), at), r = le32(padded.Bytes(), at + 4);
            c.EncipherBlock(l, r);
            EXPECT_EQ(le32(s.Bytes(), at), l) << at;
            EXPECT_EQ(le32(s.Bytes(), at + 4), r) << at;
        }

        // DecipherBytes gives what DecipherStream gives, also for lengths that are not whole
        // blocks (the bytes after the last block are taken as they are) and leaves its input.
        for (int cut : {0, 1, 3}) {
            const QByteArray enciphered = s.Bytes().left(s.Size() - cut);
            streams::MemoryStream inPlace(enciphered);
            ASSERT_TRUE(streams::DecipherStream(inPlace, key));
            QByteArray out("previo");
            ASSERT_TRUE(
                streams::DecipherBytes(enciphered.constData(), enciphered.size(), key, out));
            EXPECT_EQ(out, inPlace.Bytes()) << cut;
            if (cut == 0) {
                EXPECT_EQ(out, plain);
            }
        }
    }

    // Nothing to decipher, or a refused key: false and the output untouched.
    QByteArray out("previo");
    EXPECT_FALSE(streams::DecipherBytes("", 0, QByteArray(), out));
    EXPECT_FALSE(streams::DecipherBytes("datos", 5, kWeakKey, out));
    EXPECT_FALSE(streams::DecipherBytes("datos", 5, QByteArray(256, 'a'), out));
    EXPECT_EQ(out, QByteArray("previo"));
    EXPECT_THROW(streams::DecipherBytes("datos", 5, QByteArray(), out), streams::CipherKeyError);
}
