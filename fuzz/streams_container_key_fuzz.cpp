// TQXStreams::LoadFromStream with a key (from Key or from OnAskForKey) on arbitrary data: loads or
// throws CorruptFile. The first byte chooses how the key is given.
#include "streams/qx_streams.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    ++data;
    --size;
    streams::TQXStreams q;
    q.Key = QStringLiteral("clave");
    if (mode & 1)
        q.OnAskForKey = [mode](streams::TQXStreams&) {
            return mode & 2 ? QString() : QStringLiteral("clave");
        };
    streams::MemoryStream s(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    try {
        q.LoadFromStream(s);
    } catch (const streams::CorruptFile&) {
    }
    return 0;
}
