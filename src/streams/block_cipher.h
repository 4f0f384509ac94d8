// The block cipher of enciphered containers: Blowfish with little-endian block halves, 2..32
// rounds, a refusal of keys whose schedule leaves two equal entries in an S-box, and the stream
// padding of the container payload. Each BlockCipher is its own state, so operations do not
// share tables.
#pragma once

#include "platform/error.h"
#include "streams/memory_stream.h"

#include <QByteArray>

#include <cstdint>

namespace streams {

// A key that cannot be scheduled (an empty key).
class CipherKeyError : public platform::Error {
public:
    using Error::Error;
};

class BlockCipher {
public:
    BlockCipher() { reset(); }
    // Wipes the key-derived tables, so that no schedule outlives its operation.
    ~BlockCipher();
    BlockCipher(const BlockCipher&) = default;
    BlockCipher& operator=(const BlockCipher&) = default;

    // Initial tables, 16 rounds.
    void reset();

    // Resets to the initial tables, sets the round count (2..32 rounded up to even, anything else
    // 16) and runs the key schedule. Returns false when the key is refused as weak (two equal
    // entries in an S-box; the state is left as computed) and for keys of 256 bytes or more, whose
    // length does not fit the one-byte key length (the state is then reset). Throws
    // CipherKeyError for an empty key.
    bool SetCipherKey(const std::uint8_t* key, int keyLength, int rounds);
    bool SetCipherKey(const QByteArray& key, int rounds = 16);

    // One 8-byte block in place (defined below, inline).
    void EncipherBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecipherBlock(std::uint32_t& left, std::uint32_t& right) const;
    // Two independent blocks at once (the container's blocks are enciphered each on its own):
    // the rounds of one block run while the table reads of the other wait for memory.
    void EncipherBlocks(std::uint32_t (&left)[2], std::uint32_t (&right)[2]) const;
    void DecipherBlocks(std::uint32_t (&left)[2], std::uint32_t (&right)[2]) const;

    int rounds() const { return rounds_; }
    std::uint32_t pWord(int index) const { return p_[index]; }
    std::uint32_t sWord(int box, int index) const { return s_[box][index]; }

private:
    std::uint32_t f(std::uint32_t x) const {
        return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) +
               s_[3][x & 0xFF];
    }
    bool hasDuplicateSBoxEntry() const;

    std::uint32_t p_[34];
    std::uint32_t s_[4][256];
    int rounds_ = 16;
};

// The block functions are inline so that the stream loops run them without a call per block.
inline void BlockCipher::EncipherBlock(std::uint32_t& left, std::uint32_t& right) const {
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

inline void BlockCipher::DecipherBlock(std::uint32_t& left, std::uint32_t& right) const {
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

inline void BlockCipher::EncipherBlocks(std::uint32_t (&left)[2], std::uint32_t (&right)[2]) const {
    std::uint32_t l0 = left[0], r0 = right[0], l1 = left[1], r1 = right[1];
    for (int i = 0; i < rounds_; i += 2) {
        l0 ^= p_[i];
        l1 ^= p_[i];
        r0 ^= f(l0);
        r1 ^= f(l1);
        r0 ^= p_[i + 1];
        r1 ^= p_[i + 1];
        l0 ^= f(r0);
        l1 ^= f(r1);
    }
    left[0] = r0 ^ p_[rounds_ + 1];
    right[0] = l0 ^ p_[rounds_];
    left[1] = r1 ^ p_[rounds_ + 1];
    right[1] = l1 ^ p_[rounds_];
}

inline void BlockCipher::DecipherBlocks(std::uint32_t (&left)[2], std::uint32_t (&right)[2]) const {
    std::uint32_t l0 = left[0], r0 = right[0], l1 = left[1], r1 = right[1];
    for (int i = rounds_ + 1; i > 1; i -= 2) {
        l0 ^= p_[i];
        l1 ^= p_[i];
        r0 ^= f(l0);
        r1 ^= f(l1);
        r0 ^= p_[i - 1];
        r1 ^= p_[i - 1];
        l0 ^= f(r0);
        l1 ^= f(r1);
    }
    left[0] = r0 ^ p_[0];
    right[0] = l0 ^ p_[1];
    left[1] = r1 ^ p_[0];
    right[1] = l1 ^ p_[1];
}

// Appends k bytes 0x01 and then the byte k, k = 8 - ((n + 1) mod 8), so that the length becomes a
// multiple of 8 (k is 1..8).
void PadStream(MemoryStream& stream);

// Pads the stream and enciphers every 8-byte block in place with a fresh 16-round schedule of
// key. Leaves the stream unchanged and returns false when it is empty (whatever the key) or the key
// is refused (weak, or 256 bytes or more). Throws CipherKeyError for an empty key.
bool EncipherStream(MemoryStream& stream, const QByteArray& key);

// Deciphers every whole 8-byte block in place and removes the padding its last byte announces (a
// count beyond the stream's size leaves it empty). Unchanged and false when the stream is empty
// (whatever the key) or the key refused; throws CipherKeyError for an empty key.
bool DecipherStream(MemoryStream& stream, const QByteArray& key);

// DecipherStream on the size bytes at data, written into out (replacing its content) in one pass
// instead of deciphering a copy in place. False, and out untouched, when size is 0 (whatever the
// key) or the key is refused; throws CipherKeyError for an empty key.
bool DecipherBytes(const char* data, qint64 size, const QByteArray& key, QByteArray& out);

// Whether EncipherStream would use the key (false for weak keys and keys of 256 bytes or more).
// Throws CipherKeyError for an empty key.
bool cipherKeyAccepted(const QByteArray& key);

} // namespace streams
