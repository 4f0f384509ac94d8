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

void BlockCipher::EncipherBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left, r = right;
    for (int i = 0; i < rounds_; i += 2) {
        l ^= p_[i];
        r ^= f(l);
        r ^= p_[i + 1];
        l ^= f(r);
    }
    // After an even number of rounds the halves are back in place: the last swap is undone.
    left = r ^ p_[rounds_ + 1];
    right = l ^ p_[rounds_];
}

void BlockCipher::DecipherBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left, r = right;
    for (int i = rounds_ + 1; i > 1; i -= 2) {
        l ^= p_[i];
        r ^= f(l);
        r ^= p_[i - 1];
        l ^= f(r);
    }
    left = r ^ p_[0];
    right = l ^ p_[1];
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

// Runs a block operation of the cipher on every whole 8-byte block of the bytes, in place.
void eachBlock(char* p, qint64 size, const BlockCipher& cipher,
               void (BlockCipher::*operation)(std::uint32_t&, std::uint32_t&) const) {
    for (qint64 i = 0; i + 8 <= size; i += 8) {
        std::uint32_t l = load32(p + i), r = load32(p + i + 4);
        (cipher.*operation)(l, r);
        store32(p + i, l);
        store32(p + i + 4, r);
    }
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
    eachBlock(stream.Memory(), stream.Size(), cipher, &BlockCipher::EncipherBlock);
    stream.SetPosition(position);
    return true;
}

bool DecipherStream(MemoryStream& stream, const QByteArray& key) {
    BlockCipher cipher;
    if (!scheduleForStream(cipher, stream, key))
        return false;
    const qint64 position = stream.Position();
    char* p = stream.Memory();
    const qint64 size = stream.Size();
    eachBlock(p, size, cipher, &BlockCipher::DecipherBlock);
    const int k = static_cast<std::uint8_t>(p[size - 1]);
    stream.SetSize(std::max<qint64>(0, size - (k + 1)));
    stream.SetPosition(std::min(position, stream.Size()));
    return true;
}

} // namespace streams
