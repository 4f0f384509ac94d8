// An in-memory byte stream with a position, the working buffer of every packed piece of data
// (container images, codec input and output, cipher payloads).
#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace streams {

// A read that needed more bytes than the stream holds (ReadBuffer, CopyFrom).
class ReadError : public platform::Error {
public:
    ReadError() : Error("Stream read error") {}
};

class MemoryStream {
public:
    MemoryStream() = default;
    // A stream holding a copy of the bytes, positioned at 0.
    explicit MemoryStream(QByteArray bytes) : data_(std::move(bytes)) {}

    qint64 Size() const { return data_.size(); }
    qint64 Position() const { return position_; }
    // Any position from 0 on is allowed; writing beyond the end fills the gap with zeros.
    void SetPosition(qint64 position);
    // Grows with zeros or cuts; a position beyond the new end moves to the end.
    void SetSize(qint64 size);
    // Empties the stream and moves to 0.
    void Clear();

    // Reads up to count bytes at the position and advances over them; returns how many were read.
    qint64 Read(void* buffer, qint64 count);
    // Reads exactly count bytes or throws ReadError (the position is then left unchanged).
    void ReadBuffer(void* buffer, qint64 count);
    // Writes at the position, overwriting and growing the stream as needed, and advances.
    qint64 Write(const void* buffer, qint64 count);
    void WriteBuffer(const void* buffer, qint64 count) { Write(buffer, count); }
    void WriteBytes(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }
    // Copies count bytes from source's position (both streams advance); count 0 copies the whole
    // source from its first byte. Throws ReadError when the source holds fewer bytes.
    qint64 CopyFrom(MemoryStream& source, qint64 count);

    // The whole content, whatever the position.
    const QByteArray& Bytes() const { return data_; }
    // Replaces the content and moves to 0.
    void SetBytes(QByteArray bytes);
    char* Memory() { return data_.data(); }
    const char* Memory() const { return data_.constData(); }

    // Whole-file helpers (files::readWhole, files::writeWhole): LoadFromFile replaces the content
    // (position 0) or throws files::FileError; SaveToFile writes the whole content through a
    // temporary file that replaces the target only when complete, or throws files::FileError.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

private:
    QByteArray data_;
    qint64 position_ = 0;
};

} // namespace streams
