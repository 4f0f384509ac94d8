// An in-memory byte stream with a position, the working buffer of every packed piece of data
// (container images, codec input and output, cipher payloads).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>

// A read that needed more bytes than the stream holds (ReadBuffer, CopyFrom).
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream read error") {}
};

// A file that cannot be opened or created (LoadFromFile, SaveToFile).
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMemoryStream {
public:
    TMemoryStream() = default;
    // A stream holding a copy of the bytes, positioned at 0.
    explicit TMemoryStream(QByteArray bytes) : data_(std::move(bytes)) {}

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
    // Reads exactly count bytes or throws EReadError (the position is then left unchanged).
    void ReadBuffer(void* buffer, qint64 count);
    // Writes at the position, overwriting and growing the stream as needed, and advances.
    qint64 Write(const void* buffer, qint64 count);
    void WriteBuffer(const void* buffer, qint64 count) { Write(buffer, count); }
    void WriteBytes(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }
    // Copies count bytes from source's position (both streams advance); count 0 copies the whole
    // source from its first byte. Throws EReadError when the source holds fewer bytes.
    qint64 CopyFrom(TMemoryStream& source, qint64 count);

    // The whole content, whatever the position.
    const QByteArray& Bytes() const { return data_; }
    // Replaces the content and moves to 0.
    void SetBytes(QByteArray bytes);
    char* Memory() { return data_.data(); }
    const char* Memory() const { return data_.constData(); }

    // Whole-file helpers: LoadFromFile replaces the content (position 0) or throws EFileError;
    // SaveToFile writes the whole content through a temporary file that replaces the target only
    // when complete, or throws EFileError.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

private:
    QByteArray data_;
    qint64 position_ = 0;
};

// Writes bytes to a file as a whole: a temporary file that replaces fileName only once everything
// was written, so a failure never leaves a half-written file. Throws EFileError.
void WriteWholeFile(const QString& fileName, const QByteArray& bytes);
// Reads a whole file or throws EFileError.
QByteArray ReadWholeFile(const QString& fileName);
