#include "streams/block_cipher.h"

#include "streams/blowfish_tables.h"

#include <algorithm>
#include <cstring>

namespace streams {

BlockCipher::~BlockCipher() {
    volatile std::uint32_t* p = p_;
    for (std::size_t i = 0; i < sizeof p_ / sizeof p_[0]; ++i)
        p[i] = 0;
    volatile std::uint32_t* s = &s_[0][0];
    for (std::size_t i = 0; i < 4 * 256; ++i)
        s[i] = 0;
}

void BlockCipher::reset() {
    std::memcpy(p_, kBlowfishInitialP, sizeof p_);
    std::memcpy(s_, kBlowfishInitialS, sizeof s_);
    rounds_ = 16;
}

bool BlockCipher::hasDuplicateSBoxEntry() const {
    std::uint32_t sorted[256];
    for (const auto& box : s_) {
        std::memcpy(sorted, box, sizeof sorted);
        std::sort(std::begin(sorted), std::end(sorted));
        if (std::adjacent_find(std::begin(sorted), std::end(sorted)) != std::end(sorted))
            return true;
    }
    return false;
}

bool BlockCipher::SetCipherKey(const std::uint8_t* key, int keyLength, int rounds) {
    reset();
    if (keyLength <= 0)
        throw CipherKeyError("empty cipher key");
    if (keyLength > 255)
        return false;
    if (rounds >= 2 && rounds <= 32)
        rounds_ = (rounds + 1) & ~1;
    const int words = rounds_ + 2;
    for (int i = 0; i < 4 * words; ++i)
        p_[i / 4] ^= std::uint32_t(key[i % keyLength]) << (8 * (3 - i % 4));
    std::uint32_t l = 0, r = 0;
    for (int i = 0; i < words; i += 2) {
        EncipherBlock(l, r);
        p_[i] = l;
        p_[i + 1] = r;
    }
    for (auto& box : s_)
        for (int i = 0; i < 256; i += 2) {
            EncipherBlock(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    return !hasDuplicateSBoxEntry();
}

bool BlockCipher::SetCipherKey(const QByteArray& key, int rounds) {
    return SetCipherKey(reinterpret_cast<const std::uint8_t*>(key.constData()),
                        static_cast<int>(std::min<qsizetype>(key.size(), 1 << 20)), rounds);
}

namespace {

std::uint32_t load32(const char* p) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(p);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

void store32(char* p, std::uint32_t v) {
    auto* b = reinterpret_cast<std::uint8_t*>(p);
    b[0] = std::uint8_t(v);
    b[1] = std::uint8_t(v >> 8);
    b[2] = std::uint8_t(v >> 16);
    b[3] = std::uint8_t(v >> 24);
}

// The 16-round schedule of key for a stream operation; false for an empty stream (before the key
// is looked at, so an empty key included) and for a refused key.
bool scheduleForStream(BlockCipher& cipher, const MemoryStream& stream, const QByteArray& key) {
    return stream.Size() != 0 && cipher.SetCipherKey(key, 16);
}

// Runs the cipher on every whole 8-byte block of size bytes at in, writing the result at out
// (which may be in itself), two blocks at a time; bytes after the last whole block are carried
// over unchanged.
template <bool Decipher>
void eachBlock(const BlockCipher& cipher, const char* in, char* out, qint64 size) {
    qint64 i = 0;
    for (; i + 16 <= size; i += 16) {
        std::uint32_t l[2] = {load32(in + i), load32(in + i + 8)};
        std::uint32_t r[2] = {load32(in + i + 4), load32(in + i + 12)};
        if (Decipher)
            cipher.DecipherBlocks(l, r);
        else
            cipher.EncipherBlocks(l, r);
        store32(out + i, l[0]);
        store32(out + i + 4, r[0]);
        store32(out + i + 8, l[1]);
        store32(out + i + 12, r[1]);
    }
    for (; i + 8 <= size; i += 8) {
        std::uint32_t l = load32(in + i), r = load32(in + i + 4);
        if (Decipher)
            cipher.DecipherBlock(l, r);
        else
            cipher.EncipherBlock(l, r);
        store32(out + i, l);
        store32(out + i + 4, r);
    }
    if (in != out && i < size)
        std::memcpy(out + i, in + i, std::size_t(size - i));
}

// Deciphers size bytes from in to out (possibly the same bytes); returns the length left when the
// padding that the last byte announces is removed (0 when it announces more than there is).
qint64 decipherBlocks(const BlockCipher& cipher, const char* in, char* out, qint64 size) {
    eachBlock<true>(cipher, in, out, size);
    const int k = static_cast<std::uint8_t>(out[size - 1]);
    return std::max<qint64>(0, size - (k + 1));
}

} // namespace

void PadStream(MemoryStream& stream) {
    const qint64 n = stream.Size();
    const int k = 8 - static_cast<int>((n + 1) % 8);
    QByteArray pad(k, '\x01');
    pad.append(static_cast<char>(k));
    stream.SetPosition(n);
    stream.WriteBytes(pad);
}

bool cipherKeyAccepted(const QByteArray& key) {
    BlockCipher cipher;
    return cipher.SetCipherKey(key, 16);
}

bool EncipherStream(MemoryStream& stream, const QByteArray& key) {
    BlockCipher cipher;
    if (!scheduleForStream(cipher, stream, key))
        return false;
    const qint64 position = stream.Position();
    PadStream(stream);
    char* p = stream.Memory();
    eachBlock<false>(cipher, p, p, stream.Size());
    stream.SetPosition(position);
    return true;
}

bool DecipherStream(MemoryStream& stream, const QByteArray& key) {
    BlockCipher cipher;
    if (!scheduleForStream(cipher, stream, key))
        return false;
    const qint64 position = stream.Position();
    char* p = stream.Memory();
    stream.SetSize(decipherBlocks(cipher, p, p, stream.Size()));
    stream.SetPosition(std::min(position, stream.Size()));
    return true;
}

bool DecipherBytes(const char* data, qint64 size, const QByteArray& key, QByteArray& out) {
    if (size <= 0)
        return false;
    BlockCipher cipher;
    if (!cipher.SetCipherKey(key, 16))
        return false;
    QByteArray plain(size, Qt::Uninitialized);
    plain.truncate(decipherBlocks(cipher, data, plain.data(), size));
    out = std::move(plain);
    return true;
}

} // namespace streams
