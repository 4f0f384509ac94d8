// DecipherStream on arbitrary data and keys stays inside the stream; enciphering and deciphering
// with the same key gives the data back.
#include "streams/block_cipher.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::size_t keyLength = std::min<std::size_t>(data[0], size - 1);
    const QByteArray key(reinterpret_cast<const char*>(data + 1), qsizetype(keyLength));
    const QByteArray payload(reinterpret_cast<const char*>(data + 1 + keyLength),
                             qsizetype(size - 1 - keyLength));
    try {
        streams::MemoryStream s(payload);
        streams::DecipherStream(s, key);
        if (s.Size() > payload.size())
            std::abort();
        streams::MemoryStream t(payload);
        const bool used = streams::EncipherStream(t, key);
        if (used != streams::DecipherStream(t, key) || t.Bytes() != payload)
            std::abort();
    } catch (const streams::CipherKeyError&) {
        if (!key.isEmpty())
            std::abort();
    }
    return 0;
}
