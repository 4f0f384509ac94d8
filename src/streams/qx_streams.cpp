#include "streams/qx_streams.h"

#include "platform/files.h"
#include "streams/block_cipher.h"
#include "streams/lzh.h"
#include "streams/text_bytes.h"

#include <QCollator>
#include <QLocale>

#include <cstring>
#include <stdexcept>

namespace streams {

namespace {

constexpr char kSignature[8] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr char kCompressedFlag = '&';
constexpr char kEncipheredFlag = '*';
constexpr char kBlank = ' ';

bool startsWithSignature(const QByteArray& bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.constData(), kSignature, 8) == 0;
}

void appendInt32(QByteArray& out, std::uint32_t v) {
    out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    out.append(char((v >> 16) & 0xFF)).append(char((v >> 24) & 0xFF));
}

// Reads the entry list: a cursor over the bytes that refuses to read past their end.
class ListReader {
public:
    explicit ListReader(const QByteArray& bytes) : bytes_(bytes) {}
    bool has(qint64 n) const { return n >= 0 && bytes_.size() - pos_ >= n; }
    std::uint32_t u32() {
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes_.constData() + pos_);
        pos_ += 4;
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
               std::uint32_t(b[3]) << 24;
    }
    std::uint16_t u16() {
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes_.constData() + pos_);
        pos_ += 2;
        return std::uint16_t(b[0] | b[1] << 8);
    }
    QByteArray take(qint64 n) {
        QByteArray out = bytes_.mid(pos_, n);
        pos_ += n;
        return out;
    }
    void skip(qint64 n) { pos_ += n; }
    void seek(qint64 pos) { pos_ = pos; }
    qint64 position() const { return pos_; }

private:
    const QByteArray& bytes_;
    qint64 pos_ = 0;
};

} // namespace

int compareStreamNames(const QString& a, const QString& b) {
    if (QString::compare(a, b, Qt::CaseInsensitive) == 0)
        return 0;
    thread_local QCollator collator = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const int byLocale = collator.compare(a, b);
    if (byLocale != 0)
        return byLocale;
    // Names the locale ranks equal but that are different names: a fixed order all the same.
    return QString::compare(a, b, Qt::CaseInsensitive);
}

int TQXStreams::find(const QString& name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (QString::compare(entries_[i].name, name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TQXStreams::insert(const QString& name, QByteArray data) {
    if (const int i = find(name); i >= 0) {
        entries_[i].data = std::move(data);
        return;
    }
    auto it = entries_.begin();
    while (it != entries_.end() && compareStreamNames(it->name, name) < 0)
        ++it;
    entries_.insert(it, Entry{name, std::move(data)});
}

void TQXStreams::AddStream(const QString& name, const MemoryStream* stream) {
    if (name.isEmpty() || !stream)
        return;
    if (textBytes(name).size() > kMaxNameBytes)
        throw EntryTooLarge("stream name longer than 65535 bytes");
    if (stream->Size() > kMaxEntryBytes)
        throw EntryTooLarge("stream larger than 2147483647 bytes");
    insert(name, stream->Bytes());
}

void TQXStreams::GetStream(const QString& name, MemoryStream* stream) const {
    if (name.isEmpty() || !stream)
        return;
    if (const int i = find(name); i >= 0)
        stream->WriteBytes(entries_[i].data);
    stream->SetPosition(0);
}

void TQXStreams::Clear() {
    entries_.clear();
}

QStringList TQXStreams::Names() const {
    QStringList names;
    for (const auto& e : entries_)
        names.append(e.name);
    return names;
}

QByteArray TQXStreams::Data(const QString& name) const {
    const int i = find(name);
    return i >= 0 ? entries_[i].data : QByteArray();
}

void TQXStreams::SaveToStream(MemoryStream& dest) const {
    QByteArray list(kSignature, 8);
    appendInt32(list, std::uint32_t(entries_.size()));
    for (const auto& e : entries_) {
        const QByteArray name = textBytes(e.name);
        list.append(char(name.size() & 0xFF)).append(char((name.size() >> 8) & 0xFF));
        list.append(name);
        appendInt32(list, std::uint32_t(e.data.size()));
        list.append(e.data);
    }
    const QByteArray keyBytes = textBytes(Key);
    const bool encipher = Encrypted && !keyBytes.isEmpty();
    const char flags[2] = {Compressed ? kCompressedFlag : kBlank,
                           encipher ? kEncipheredFlag : kBlank};
    MemoryStream payload(Compressed ? lzhCompressBytes(list) : list);
    if (encipher)
        EncipherStream(payload, keyBytes); // a refused key leaves the payload plain
    dest.WriteBuffer(flags, 2);
    dest.WriteBytes(payload.Bytes());
}

void TQXStreams::SaveToFile(const QString& fileName) const {
    MemoryStream image;
    SaveToStream(image);
    files::writeWhole(fileName, image.Bytes());
}

void TQXStreams::raiseCorrupt() {
    if (OnCorrupt)
        OnCorrupt(*this);
    throw CorruptFile(kCorruptContainerMessage);
}

TQXStreams::Decoded TQXStreams::decode(MemoryStream& source) {
    Decoded d;
    d.key = Key;
    const QByteArray& all = source.Bytes();
    if (all.size() < 2)
        raiseCorrupt();
    d.compressed = all[0] == kCompressedFlag;
    d.enciphered = all[1] == kEncipheredFlag;
    // The payload is read where it lies; each stage writes its output into one new buffer that
    // the next stage reads and the last one hands on as the entry list.
    const char* payload = all.constData() + 2;
    qint64 payloadSize = all.size() - 2;

    QByteArray deciphered;
    if (d.enciphered) {
        if (OnAskForKey)
            d.key = OnAskForKey(*this);
        try {
            const QByteArray keyBytes = textBytes(d.key);
            if (keyBytes.isEmpty())
                throw CipherKeyError("empty cipher key");
            // A refused key leaves the payload as it is, as DecipherStream does.
            if (DecipherBytes(payload, payloadSize, keyBytes, deciphered)) {
                payload = deciphered.constData();
                payloadSize = deciphered.size();
            }
        } catch (const std::exception&) {
            raiseCorrupt();
        }
    }
    const QByteArray stage = QByteArray::fromRawData(payload, payloadSize);
    if (!d.compressed && !startsWithSignature(stage))
        raiseCorrupt();

    if (d.compressed) {
        try {
            d.list = lzhDecompressBytes(stage);
        } catch (const std::exception&) {
            raiseCorrupt();
        }
    } else if (payload == deciphered.constData()) {
        d.list = std::move(deciphered);
    } else {
        d.list = QByteArray(payload, payloadSize);
    }
    if (!startsWithSignature(d.list))
        raiseCorrupt();
    return d;
}

void TQXStreams::readEntries(const QByteArray& list,
                             const std::function<void(QString, qint64, qint64)>& onEntry) {
    ListReader in(list);
    in.seek(8);
    if (!in.has(4))
        raiseCorrupt();
    const qint32 count = qint32(in.u32());
    for (qint32 n = 0; n < count; ++n) {
        if (!in.has(2))
            raiseCorrupt();
        const int nameLength = in.u16();
        if (!in.has(nameLength))
            raiseCorrupt();
        QString name = bytesText(in.take(nameLength));
        if (!in.has(4))
            raiseCorrupt();
        const qint32 size = qint32(in.u32());
        if (!in.has(size))
            raiseCorrupt(); // negative, or beyond the data
        onEntry(std::move(name), in.position(), size);
        in.skip(size);
    }
}

void TQXStreams::LoadFromStream(MemoryStream& source) {
    Decoded d = decode(source);
    // From here on the previous entries are gone; an entry list that ends early keeps what was
    // read up to there.
    entries_.clear();
    const qint64 listSize = d.list.size();
    readEntries(d.list, [&](QString name, qint64 offset, qint64 size) {
        if (name.isEmpty())
            return;
        if (offset + size == listSize && 2 * size >= listSize) {
            // The entry that ends the list and fills most of it (the one stream of packed card
            // content) takes the list's buffer: cutting its front only moves the start of the
            // data, so the bytes are not copied again.
            QByteArray data = std::move(d.list);
            data.remove(0, offset);
            insert(name, std::move(data));
            return;
        }
        insert(name, d.list.mid(offset, size));
    });
    Key = d.key;
    Compressed = d.compressed;
    Encrypted = d.enciphered;
}

TQXStreams::TFileListing TQXStreams::ListFileEntries(MemoryStream& source) {
    Decoded d = decode(source);
    TFileListing listing;
    listing.compressed = d.compressed;
    listing.enciphered = d.enciphered;
    readEntries(d.list, [&listing](QString name, qint64, qint64 size) {
        listing.entries.push_back({std::move(name), size});
    });
    return listing;
}

void TQXStreams::LoadFromFile(const QString& fileName) {
    MemoryStream image(files::readWhole(fileName));
    LoadFromStream(image);
}

} // namespace streams
