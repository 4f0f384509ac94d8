#include "streams/memory_stream.h"

#include "platform/files.h"

#include <algorithm>
#include <cstring>

namespace streams {

void MemoryStream::SetPosition(qint64 position) {
    position_ = std::max<qint64>(0, position);
}

void MemoryStream::SetSize(qint64 size) {
    size = std::max<qint64>(0, size);
    const qint64 old = data_.size();
    data_.resize(size);
    if (size > old)
        std::memset(data_.data() + old, 0, size - old);
    if (position_ > size)
        position_ = size;
}

void MemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

qint64 MemoryStream::Read(void* buffer, qint64 count) {
    if (count <= 0 || position_ >= data_.size())
        return 0;
    const qint64 n = std::min(count, data_.size() - position_);
    std::memcpy(buffer, data_.constData() + position_, n);
    position_ += n;
    return n;
}

void MemoryStream::ReadBuffer(void* buffer, qint64 count) {
    if (count <= 0)
        return;
    if (position_ > data_.size() || data_.size() - position_ < count)
        throw ReadError();
    Read(buffer, count);
}

qint64 MemoryStream::Write(const void* buffer, qint64 count) {
    if (count <= 0)
        return 0;
    if (position_ + count > data_.size())
        SetSize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

qint64 MemoryStream::CopyFrom(MemoryStream& source, qint64 count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count <= 0)
        return 0;
    if (source.position_ > source.data_.size() || source.data_.size() - source.position_ < count)
        throw ReadError();
    // Copy through a temporary: source and destination may be the same stream.
    const QByteArray chunk = source.data_.mid(source.position_, count);
    source.position_ += count;
    Write(chunk.constData(), chunk.size());
    return count;
}

void MemoryStream::SetBytes(QByteArray bytes) {
    data_ = std::move(bytes);
    position_ = 0;
}

void MemoryStream::LoadFromFile(const QString& fileName) {
    SetBytes(files::readWhole(fileName));
}

void MemoryStream::SaveToFile(const QString& fileName) const {
    files::writeWhole(fileName, data_);
}

} // namespace streams
