// The LZH codec of compressed containers: the -lh5- method (static Huffman LZSS with an 8 KiB
// dictionary, as written by the ar002 encoder) framed by a 4-byte little-endian uncompressed
// length.
#pragma once

#include "streams/memory_stream.h"

#include <QByteArray>

namespace streams {

// Longest uncompressed length the decoder accepts; a larger (or damaged) length is refused.
inline constexpr qint64 kLZHMaxLength = qint64(1) << 30;

// Compresses source from its position to its end; writes the length and the bit stream at dest's
// position. Both streams end past what they read or wrote.
void LZHCompress(MemoryStream& source, MemoryStream& dest);

// Reads the length at source's position and decodes the bit stream after it; writes exactly that
// many bytes at dest's position. Throws CorruptFile "Compressed file is corrupt" for a malformed
// stream (bad or incomplete code tables, a length above kLZHMaxLength, decoding that runs more than
// 8 bytes past the end of the data); dest is then unchanged. A length of 0 or less gives nothing.
void LZHDecompress(MemoryStream& source, MemoryStream& dest);

// The same on byte arrays (frame included).
QByteArray lzhCompressBytes(const QByteArray& input);
QByteArray lzhDecompressBytes(const QByteArray& framed);

} // namespace streams
