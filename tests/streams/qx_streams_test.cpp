#include "platform/files.h"
#include "streams/block_cipher.h"
#include "streams/lzh.h"
#include "streams/qx_streams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

const QByteArray kSignature("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
const QByteArray kEmptyList = kSignature + QByteArray(4, '\0');
const QString kWeakKey = QStringLiteral("clave8749"); // refused by the cipher as weak

QByteArray image(const streams::TQXStreams& q) {
    streams::MemoryStream s;
    q.SaveToStream(s);
    return s.Bytes();
}

void add(streams::TQXStreams& q, const QString& name, const QByteArray& bytes) {
    streams::MemoryStream s(bytes);
    q.AddStream(name, s);
}

QByteArray get(const streams::TQXStreams& q, const QString& name) {
    streams::MemoryStream s;
    q.GetStream(name, s);
    return s.Bytes();
}

QByteArray randomBytes(int n, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (auto& c : out)
        c = char(gen());
    return out;
}

// The entry list of the given (name, data) pairs, in the given order.
QByteArray entryList(const std::vector<std::pair<QByteArray, QByteArray>>& entries,
                     qint32 count = -1) {
    auto le = [](QByteArray& out, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            out.append(char(v >> (8 * i) & 0xFF));
    };
    QByteArray out = kSignature;
    le(out, std::uint32_t(count < 0 ? qint32(entries.size()) : count), 4);
    for (const auto& [name, data] : entries) {
        le(out, std::uint32_t(name.size()), 2);
        out += name;
        le(out, std::uint32_t(data.size()), 4);
        out += data;
    }
    return out;
}

// A container holding two known entries, with the given settings, and a corrupt-event counter.
struct Loaded {
    streams::TQXStreams q;
    int corruptEvents = 0;
    Loaded() {
        add(q, "antes", "previo");
        add(q, "otra", "x");
        q.Key = "clave previa";
        q.Compressed = false;
        q.Encrypted = true;
        q.OnCorrupt = [this](streams::TQXStreams& sender) {
            EXPECT_EQ(&sender, &q);
            ++corruptEvents;
        };
    }
    void expectUnchanged(const QString& key = "clave previa") const {
        EXPECT_EQ(q.Names(), (QStringList{"antes", "otra"}));
        EXPECT_EQ(get(q, "antes"), QByteArray("previo"));
        EXPECT_EQ(q.Key, key);
        EXPECT_FALSE(q.Compressed);
        EXPECT_TRUE(q.Encrypted);
    }
};

void expectCorrupt(Loaded& l, const QByteArray& bytes) {
    streams::MemoryStream s(bytes);
    try {
        l.q.LoadFromStream(s);
        ADD_FAILURE() << "no error for " << bytes.toHex().left(80).toStdString();
    } catch (const streams::CorruptFile& e) {
        EXPECT_STREQ(e.what(), "File is corrupt.");
    }
    EXPECT_EQ(l.corruptEvents, 1);
}

} // namespace

TEST(QXStreams, EmptyContainerBytes) {
    streams::TQXStreams q;
    EXPECT_TRUE(q.Compressed);
    EXPECT_FALSE(q.Encrypted);
    EXPECT_TRUE(q.Key.isEmpty());
    // Defaults: "&", a blank, the compressed empty list (length 12 and the stream of a 12-byte
    // block).
    EXPECT_EQ(image(q), QByteArray("& ") + streams::lzhCompressBytes(kEmptyList));
    EXPECT_EQ(image(q).toHex(), QByteArray("2620"
                                           "0c000000"
                                           "000a380a2a03e0738f00d05397b3c0"));
    q.Compressed = false;
    EXPECT_EQ(image(q), QByteArray("  ") + kEmptyList);
    EXPECT_EQ(image(q).size(), 14);
    // Encrypted without a key writes a blank flag over plain data.
    q.Encrypted = true;
    EXPECT_EQ(image(q), QByteArray("  ") + kEmptyList);
    q.Key = "k";
    EXPECT_EQ(image(q).left(2), QByteArray(" *"));
    EXPECT_EQ(image(q).size(), 2 + 16);
}

TEST(QXStreams, EntriesAreWrittenInNameOrderWithTheirSizes) {
    streams::TQXStreams q;
    q.Compressed = false;
    add(q, "b", "BB");
    add(q, "A", "");
    add(q, "c", "ccc");
    EXPECT_EQ(image(q), QByteArray("  ") + entryList({{"A", ""}, {"b", "BB"}, {"c", "ccc"}}));
    EXPECT_EQ(q.Names(), (QStringList{"A", "b", "c"}));

    streams::TQXStreams r;
    r.Compressed = false;
    for (const char* n : {"zeta", "Beta", "alfa", "Delta", "ceta"})
        add(r, n, "1");
    EXPECT_EQ(r.Names(), (QStringList{"alfa", "Beta", "ceta", "Delta", "zeta"}));
}

TEST(QXStreams, SameNameInAnyCaseReplacesAndKeepsTheStoredName) {
    streams::TQXStreams q;
    add(q, "Abc", "first");
    add(q, "ABC", "second");
    EXPECT_EQ(q.Count(), 1);
    EXPECT_EQ(q.Names(), QStringList{"Abc"});
    EXPECT_EQ(get(q, "aBc"), QByteArray("second"));
    // Ignored: an empty name, a missing stream.
    add(q, "", "x");
    q.AddStream("nulo", nullptr);
    EXPECT_EQ(q.Count(), 1);
    q.Clear();
    EXPECT_EQ(q.Count(), 0);
    EXPECT_TRUE(q.Compressed);
}

TEST(QXStreams, AddStreamCopiesTheWholeSourceAndGetStreamWritesAtThePosition) {
    streams::TQXStreams q;
    streams::MemoryStream src(QByteArray("todo el contenido"));
    src.SetPosition(src.Size());
    q.AddStream("1", src);
    src.SetPosition(0);
    src.WriteBytes("XXXX"); // the container holds its own copy
    EXPECT_EQ(get(q, "1"), QByteArray("todo el contenido"));
    EXPECT_EQ(src.Position(), 4);

    streams::MemoryStream dst(QByteArray("0123456789012345678901"));
    dst.SetPosition(3);
    q.GetStream("1", dst);
    EXPECT_EQ(dst.Bytes(), QByteArray("012todo el contenido01"));
    EXPECT_EQ(dst.Position(), 0);

    dst.SetPosition(5);
    q.GetStream("ausente", dst);
    EXPECT_EQ(dst.Bytes(), QByteArray("012todo el contenido01"));
    EXPECT_EQ(dst.Position(), 0);
    dst.SetPosition(5);
    q.GetStream("", dst);
    EXPECT_EQ(dst.Position(), 5);
}

TEST(QXStreams, RoundTripInEveryForm) {
    const QByteArray big = randomBytes(200000, 1) + QByteArray(100000, 'a');
    struct Row {
        bool compressed;
        QString key;
        bool encrypted;
    } rows[] = {{false, "", false},         {true, "", false},    {false, "Contraseña", true},
                {true, "Contraseña", true}, {true, "łódź", true}, {true, kWeakKey, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key.toStdString() + (row.compressed ? " compressed" : " plain"));
        streams::TQXStreams q;
        q.Compressed = row.compressed;
        q.Encrypted = row.encrypted;
        q.Key = row.key;
        add(q, "FE_STU", "registro de diseño");
        add(q, QString::fromUtf8("Año"), big);
        add(q, QString::fromUtf8("日本"), "utf-8 name");
        add(q, "vacío", "");
        const QByteArray bytes = image(q);
        EXPECT_EQ(bytes[0], row.compressed ? '&' : ' ');
        EXPECT_EQ(bytes[1], row.encrypted ? '*' : ' ');

        streams::TQXStreams r;
        r.Compressed = !row.compressed;
        r.Encrypted = !row.encrypted;
        r.Key = row.key;
        streams::MemoryStream s(bytes);
        s.SetPosition(7); // loading reads from the first byte whatever the position
        r.LoadFromStream(s);
        EXPECT_EQ(r.Names(), q.Names());
        EXPECT_EQ(get(r, "año"), big);
        EXPECT_EQ(get(r, QString::fromUtf8("日本")), QByteArray("utf-8 name"));
        EXPECT_TRUE(r.Contains("vacío"));
        EXPECT_TRUE(get(r, "vacío").isEmpty());
        EXPECT_EQ(r.Compressed, row.compressed);
        EXPECT_EQ(r.Encrypted, row.encrypted);
        EXPECT_EQ(r.Key, row.key);
    }
}

TEST(QXStreams, WeakKeyWritesTheFlagOverPlainData) {
    streams::TQXStreams q;
    q.Compressed = false;
    q.Encrypted = true;
    q.Key = kWeakKey;
    add(q, "1", "dato");
    EXPECT_EQ(image(q), QByteArray(" *") + entryList({{"1", "dato"}}));
}

TEST(QXStreams, KeysWhileLoading) {
    streams::TQXStreams q;
    q.Encrypted = true;
    q.Key = "secreto";
    add(q, "1", "dato");
    const QByteArray bytes = image(q);

    // The key of OnAskForKey wins over Key and stays in Key.
    streams::TQXStreams r;
    r.Key = "otra";
    int asked = 0;
    r.OnAskForKey = [&](streams::TQXStreams& sender) {
        EXPECT_EQ(&sender, &r);
        ++asked;
        return QString("secreto");
    };
    streams::MemoryStream s(bytes);
    r.LoadFromStream(s);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(r.Key, QString("secreto"));
    EXPECT_EQ(get(r, "1"), QByteArray("dato"));

    // Plain data does not ask; Encrypted follows the data.
    streams::TQXStreams plain;
    add(plain, "1", "p");
    streams::MemoryStream p(image(plain));
    r.LoadFromStream(p);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(r.Encrypted);
    EXPECT_EQ(r.Key, QString("secreto"));
}

TEST(QXStreams, FailedLoadsKeepTheFormerState) {
    streams::TQXStreams good;
    good.Encrypted = true;
    good.Key = "secreto";
    add(good, "nueva", "n");
    const QByteArray enciphered = image(good);
    good.Encrypted = false;
    const QByteArray compressed = image(good);
    good.Compressed = false;
    const QByteArray plain = image(good);

    QByteArray badSignature = plain;
    badSignature[2] = 9;
    QByteArray badTables = compressed;
    for (int i = 6; i < badTables.size(); ++i)
        badTables[i] = char(0xFF); // counts beyond every alphabet
    QByteArray compressedBadSignature =
        QByteArray("& ") +
        streams::lzhCompressBytes(QByteArray("\x01\x02\x03\x04\x05\x06\x07\x09", 8) +
                                  QByteArray(4, '\0'));
    struct Row {
        const char* what;
        QByteArray bytes;
        std::function<void(streams::TQXStreams&)> setup;
    } rows[] = {
        {"empty source", QByteArray(), {}},
        {"one byte", QByteArray("&"), {}},
        {"flags only", QByteArray("  "), {}},
        {"bad signature", badSignature, {}},
        {"short payload", QByteArray("  \x01\x02\x03", 5), {}},
        {"malformed Huffman tables", badTables, {}},
        {"decompressed data without signature", compressedBadSignature, {}},
        {"wrong key", enciphered, [](streams::TQXStreams& q) { q.Key = "mala"; }},
        {"no key (Key empty, no event)", enciphered, [](streams::TQXStreams& q) { q.Key.clear(); }},
        {"empty key from OnAskForKey", enciphered,
         [](streams::TQXStreams& q) {
             q.OnAskForKey = [](streams::TQXStreams&) { return QString(); };
         }},
        {"truncated enciphered payload", enciphered.left(enciphered.size() - 3), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Loaded l;
        if (row.setup)
            row.setup(l.q);
        const QString keyBefore = l.q.Key;
        expectCorrupt(l, row.bytes);
        l.expectUnchanged(keyBefore);
    }
}

TEST(QXStreams, EntryListThatEndsEarlyKeepsWhatWasRead) {
    const auto full = entryList({{"a", "1"}, {"b", "22"}, {"c", "333"}});
    struct Row {
        const char* what;
        QByteArray list;
        QStringList kept;
    } rows[] = {
        {"count missing", kSignature, {}},
        {"count larger than the entries", entryList({{"a", "1"}, {"b", "22"}}, 5), {"a", "b"}},
        {"data cut in the third entry", full.left(full.size() - 1), {"a", "b"}},
        {"name cut", full.left(12 + 7 + 8 + 2), {"a", "b"}},
        {"name length past the end",
         entryList({{"a", "1"}}, 2) + QByteArray("\xFF\xFF"
                                                 "abc",
                                                 5),
         {"a"}},
        {"size past the end",
         entryList({{"a", "1"}}, 2) + QByteArray("\x01\x00"
                                                 "b\xFF\xFF\x00\x00",
                                                 7),
         {"a"}},
        {"negative size",
         entryList({{"a", "1"}}, 2) + QByteArray("\x01\x00"
                                                 "b\xFE\xFF\xFF\xFF",
                                                 7),
         {"a"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (bool compressed : {false, true}) {
            Loaded l;
            expectCorrupt(l, (compressed ? QByteArray("& ") + streams::lzhCompressBytes(row.list)
                                         : QByteArray("  ") + row.list));
            EXPECT_EQ(l.q.Names(), row.kept);
            EXPECT_EQ(get(l.q, "a"), row.kept.isEmpty() ? QByteArray() : QByteArray("1"));
            EXPECT_EQ(l.q.Key, QString("clave previa"));
            EXPECT_FALSE(l.q.Compressed);
            EXPECT_TRUE(l.q.Encrypted);
        }
    }
}

TEST(QXStreams, ListsReadAsTheyStand) {
    struct Row {
        const char* what;
        QByteArray list;
        QStringList names;
    } rows[] = {
        {"negative count", entryList({}, -3), {}},
        {"later entry of the same name replaces", entryList({{"x", "1"}, {"X", "2"}}), {"x"}},
        {"entry with an empty name is skipped", entryList({{"", "1"}, {"y", "2"}}), {"y"}},
        {"unsorted file order is sorted", entryList({{"b", "1"}, {"a", "2"}}), {"a", "b"}},
        {"bytes after the list are ignored", entryList({{"a", "1"}}) + "trailing", {"a"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        streams::TQXStreams q;
        add(q, "previa", "p");
        streams::MemoryStream s(QByteArray("  ") + row.list);
        q.LoadFromStream(s);
        EXPECT_EQ(q.Names(), row.names);
    }
    streams::TQXStreams q;
    streams::MemoryStream s(QByteArray("  ") + entryList({{"x", "1"}, {"X", "2"}}));
    q.LoadFromStream(s);
    EXPECT_EQ(get(q, "x"), QByteArray("2"));
    // A flag byte other than "&" or "*" means plain.
    streams::MemoryStream t(QByteArray("?!") + entryList({{"a", "1"}}));
    q.LoadFromStream(t);
    EXPECT_FALSE(q.Compressed);
    EXPECT_FALSE(q.Encrypted);
}

TEST(QXStreams, PackingIdiomOfOneField) {
    streams::TQXStreams q;
    q.Key = "k";
    q.Encrypted = true;
    streams::MemoryStream field(QByteArray("texto largo de la respuesta"));
    q.AddStream("1", field);
    field.Clear();
    q.SaveToStream(field);
    field.SetPosition(0);

    streams::TQXStreams r;
    r.Key = "k";
    r.LoadFromStream(field);
    field.Clear();
    r.GetStream("1", field);
    EXPECT_EQ(field.Bytes(), QByteArray("texto largo de la respuesta"));
    EXPECT_EQ(field.Position(), 0);
}

TEST(QXStreams, Files) {
    QTemporaryDir dir;
    const QString path = dir.filePath("X.STU");
    streams::TQXStreams q;
    add(q, "FE_STU", "diseño");
    q.SaveToFile(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), image(q));
    f.close();

    // Replacing: a smaller container leaves no bytes of the former file.
    streams::TQXStreams small;
    small.Compressed = false;
    small.SaveToFile(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.size(), 14);
    f.close();

    streams::TQXStreams r;
    add(r, "previa", "p");
    r.LoadFromFile(path);
    EXPECT_EQ(r.Count(), 0);
    add(r, "previa", "p");
    EXPECT_THROW(r.LoadFromFile(dir.filePath("missing.STU")), files::FileError);
    EXPECT_EQ(r.Names(), QStringList{"previa"});
    EXPECT_THROW(r.SaveToFile(dir.filePath("missing/dir/X.STU")), files::FileError);
    EXPECT_THROW(r.SaveToFile(dir.path()), files::FileError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"X.STU"});
}

TEST(QXStreams, DamagedImagesNeverCrash) {
    streams::TQXStreams src;
    src.Encrypted = true;
    src.Key = "k";
    add(src, "a", randomBytes(3000, 3));
    add(src, "b", QByteArray(5000, 'b'));
    const QByteArray enciphered = image(src);
    src.Encrypted = false;
    const QByteArray compressed = image(src);
    std::mt19937 gen(5);
    for (const QByteArray& base : {enciphered, compressed}) {
        for (int round = 0; round < 200; ++round) {
            QByteArray damaged = base;
            damaged[2 + int(gen() % (base.size() - 2))] = char(gen());
            streams::TQXStreams q;
            q.Key = "k";
            streams::MemoryStream s(damaged);
            try {
                q.LoadFromStream(s);
            } catch (const streams::CorruptFile&) {
            }
        }
    }
}

// Every image cut short is reported, whatever the cut: a plain image cannot look complete.
TEST(QXStreams, EveryPrefixOfAPlainImageIsCorrupt) {
    streams::TQXStreams src;
    src.Compressed = false;
    add(src, "primero", "uno");
    add(src, "segundo", QByteArray(40, 's'));
    add(src, "tercero", "");
    const QByteArray full = image(src);
    for (int n = 0; n < full.size(); ++n) {
        streams::TQXStreams q;
        int events = 0;
        q.OnCorrupt = [&](streams::TQXStreams&) { ++events; };
        streams::MemoryStream s(full.left(n));
        EXPECT_THROW(q.LoadFromStream(s), streams::CorruptFile) << n;
        EXPECT_EQ(events, 1) << n;
    }
}

TEST(QXStreams, ListFileEntriesGivesTheFileOrderWithoutLoading) {
    const QByteArray list = entryList({{"zeta", "1"}, {"Alfa", "22"}, {"ZETA", ""}});
    streams::TQXStreams q;
    add(q, "previa", "p");
    q.Key = "k";
    for (const QByteArray& bytes :
         {QByteArray("  ") + list, QByteArray("& ") + streams::lzhCompressBytes(list)}) {
        streams::MemoryStream s(bytes);
        const auto listing = q.ListFileEntries(s);
        ASSERT_EQ(listing.entries.size(), 3u);
        EXPECT_EQ(listing.entries[0].name, QString("zeta"));
        EXPECT_EQ(listing.entries[1].name, QString("Alfa"));
        EXPECT_EQ(listing.entries[1].size, 2);
        EXPECT_EQ(listing.entries[2].name, QString("ZETA"));
        EXPECT_EQ(listing.compressed, bytes[0] == '&');
        EXPECT_FALSE(listing.enciphered);
    }
    EXPECT_EQ(q.Names(), QStringList{"previa"});
    EXPECT_EQ(q.Key, QString("k"));
    streams::MemoryStream cut(QByteArray("  ") + list.left(list.size() - 2));
    int events = 0;
    q.OnCorrupt = [&](streams::TQXStreams&) { ++events; };
    EXPECT_THROW(q.ListFileEntries(cut), streams::CorruptFile);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(q.Names(), QStringList{"previa"});
}

TEST(QXStreams, EachEntryGetsItsOwnBytesWhereverItStandsInTheList) {
    const QByteArray large = randomBytes(70000, 5);
    struct Row {
        const char* what;
        QByteArray list;
        std::vector<std::pair<QString, QByteArray>> entries;
    } rows[] = {
        {"one entry", entryList({{"1", large}}), {{"1", large}}},
        {"large entry last", entryList({{"a", "uno"}, {"b", large}}), {{"a", "uno"}, {"b", large}}},
        {"large entry first",
         entryList({{"a", large}, {"b", "dos"}}),
         {{"a", large}, {"b", "dos"}}},
        {"small entry last", entryList({{"a", "uno"}, {"b", "dos"}}), {{"a", "uno"}, {"b", "dos"}}},
        {"empty entry last", entryList({{"a", large}, {"b", ""}}), {{"a", large}, {"b", ""}}},
        {"bytes after the last entry", entryList({{"1", large}}) + "resto", {{"1", large}}},
    };
    for (const auto& row : rows) {
        for (int form = 0; form < 4; ++form) {
            SCOPED_TRACE(std::string(row.what) + " form " + std::to_string(form));
            QByteArray payload = form & 1 ? streams::lzhCompressBytes(row.list) : row.list;
            if (form & 2) {
                streams::MemoryStream m(payload);
                ASSERT_TRUE(streams::EncipherStream(m, "clave"));
                payload = m.Bytes();
            }
            const QByteArray bytes =
                QByteArray(1, form & 1 ? '&' : ' ') + (form & 2 ? "*" : " ") + payload;
            const QByteArray kept(bytes.constData(), bytes.size()); // a copy of its own

            streams::TQXStreams q;
            q.Key = "clave";
            streams::MemoryStream s(bytes);
            q.LoadFromStream(s);
            // Loading reads the image where it lies and leaves it as it was.
            EXPECT_EQ(s.Bytes(), kept);
            ASSERT_EQ(q.Count(), int(row.entries.size()));
            for (const auto& [name, data] : row.entries) {
                EXPECT_EQ(q.Data(name), data) << name.toStdString();
                // A loaded entry is independent of the others: changing a copy of one changes
                // nothing in the container.
                QByteArray changed = q.Data(name);
                changed.prepend("x").append("y");
                EXPECT_EQ(q.Data(name), data) << name.toStdString();
            }
        }
    }
}
