// TQXStreams: a sorted set of named byte streams kept in memory and written as one container file
// or stream, optionally compressed (LZH) and enciphered (block cipher).
//
// File format (integers little-endian):
//   byte 0   "&" when the payload is compressed, " " when not
//   byte 1   "*" when the payload is enciphered, " " when not
//   2..      payload: the entry list E (signature 01..08, signed 32-bit count, then per entry a
//            16-bit name length, the name bytes, a signed 32-bit size and the data), LZH-compressed
//            when "&", then padded and enciphered when "*".
#pragma once

#include "platform/error.h"
#include "streams/corrupt_file.h"
#include "streams/memory_stream.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace streams {

// A name or stream beyond what the file format can hold.
class EntryTooLarge : public platform::Error {
public:
    using Error::Error;
};

class TQXStreams {
public:
    using TOnAskForKey = std::function<QString(TQXStreams& sender)>;
    using TNotifyEvent = std::function<void(TQXStreams& sender)>;

    // Longest name (bytes) and entry (bytes) the file format can hold.
    static constexpr qint64 kMaxNameBytes = 65535;
    static constexpr qint64 kMaxEntryBytes = 0x7FFFFFFF;

    TQXStreams() = default;
    TQXStreams(const TQXStreams&) = delete;
    TQXStreams& operator=(const TQXStreams&) = delete;

    // Properties and events. Compressed and Encrypted choose the form of the next save; after a
    // successful load they tell the form of what was loaded, and Key holds the key that was used.
    bool Compressed = true;
    bool Encrypted = false; // enciphers only when Key is not empty
    QString Key;
    TOnAskForKey OnAskForKey; // asked for the key while loading enciphered data
    TNotifyEvent OnCorrupt;   // called just before CorruptFile is thrown

    // Files a private copy of the whole stream (from its first byte, whatever its position) under
    // name, replacing an entry of the same name in any letter case (which keeps its stored name).
    // An empty name or a null stream is ignored. Throws EntryTooLarge for a name or stream
    // beyond what the file format can hold.
    void AddStream(const QString& name, const MemoryStream* stream);
    void AddStream(const QString& name, const MemoryStream& stream) { AddStream(name, &stream); }
    // Writes the stored stream of name into stream at its position (overwriting and growing it);
    // then, whether or not the name exists, moves stream to 0. An empty name does nothing.
    void GetStream(const QString& name, MemoryStream* stream) const;
    void GetStream(const QString& name, MemoryStream& stream) const { GetStream(name, &stream); }
    // Removes every entry; properties are not touched.
    void Clear();

    // Writes the container at dest's position. The entries are not changed.
    void SaveToStream(MemoryStream& dest) const;
    // Writes the container to a file through a temporary that replaces it only when complete.
    // Throws files::FileError when the file cannot be written.
    void SaveToFile(const QString& fileName) const;
    // Reads a container from the first byte of source, whatever its position, replacing the
    // entries. Damaged data: OnCorrupt, then CorruptFile "File is corrupt."; the entries, Key,
    // Compressed and Encrypted keep their values, except that an entry list that ends before its
    // declared counts and sizes keeps the entries read up to there.
    void LoadFromStream(MemoryStream& source);
    // Throws files::FileError when the file cannot be read; nothing changes then.
    void LoadFromFile(const QString& fileName);

    // What a container image holds, in the order of the file (names as stored, repeats included),
    // without loading it: the key, OnAskForKey, OnCorrupt and the errors are those of
    // LoadFromStream; nothing in the container changes.
    struct TFileEntry {
        QString name;
        qint64 size = 0;
    };
    struct TFileListing {
        bool compressed = false;
        bool enciphered = false;
        std::vector<TFileEntry> entries;
    };
    TFileListing ListFileEntries(MemoryStream& source);

    // Inspection.
    int Count() const { return int(entries_.size()); }
    QStringList Names() const; // in list (and file) order
    bool Contains(const QString& name) const { return find(name) >= 0; }
    QByteArray Data(const QString& name) const; // empty when absent

private:
    struct Entry {
        QString name;
        QByteArray data;
    };

    struct Decoded {
        QByteArray list; // the entry list, signature checked
        QString key;
        bool compressed = false;
        bool enciphered = false;
    };
    Decoded decode(MemoryStream& source);
    // Calls onEntry with each entry's name and the offset and size of its data in list.
    void readEntries(const QByteArray& list,
                     const std::function<void(QString, qint64, qint64)>& onEntry);
    int find(const QString& name) const;
    void insert(const QString& name, QByteArray data);
    [[noreturn]] void raiseCorrupt();

    std::vector<Entry> entries_; // ascending name order, compared without regard to case
};

// The order of entry names: ascending, without regard to letter case, under the user's locale.
// Returns < 0, 0 (the same name) or > 0.
int compareStreamNames(const QString& a, const QString& b);

} // namespace streams
