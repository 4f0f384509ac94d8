// TQXStreams::LoadFromStream without a key on arbitrary data: loads or throws CorruptFile.
#include "streams/qx_streams.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 6 && data[0] == '&') {
        const std::uint32_t length = std::uint32_t(data[2]) | std::uint32_t(data[3]) << 8 |
                                     std::uint32_t(data[4]) << 16 | std::uint32_t(data[5]) << 24;
        if (length > (8u << 20))
            return 0; // valid but slow
    }
    streams::TQXStreams q;
    streams::MemoryStream s(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    int corrupt = 0;
    q.OnCorrupt = [&](streams::TQXStreams&) { ++corrupt; };
    try {
        q.LoadFromStream(s);
        for (const QString& name : q.Names())
            if (name.isEmpty())
                std::abort();
    } catch (const streams::CorruptFile&) {
        if (corrupt != 1)
            std::abort();
    }
    return 0;
}
