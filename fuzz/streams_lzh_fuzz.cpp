// LZHDecompress on arbitrary data must decode or throw CorruptFile; LZHCompress of the same bytes
// must read back unchanged.
#include "streams/corrupt_file.h"
#include "streams/lzh.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (size >= 4) {
        const std::uint32_t length = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                                     std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
        // Huge outputs are valid for the codec but only slow the search down.
        if (length > (8u << 20) && length <= std::uint32_t(streams::kLZHMaxLength))
            return 0;
    }
    try {
        const QByteArray out = streams::lzhDecompressBytes(bytes);
        (void)out;
    } catch (const streams::CorruptFile&) {
    }
    if (streams::lzhDecompressBytes(streams::lzhCompressBytes(bytes)) != bytes)
        std::abort();
    return 0;
}
