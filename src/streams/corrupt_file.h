// The error of damaged packed data: the container reports "File is corrupt.", the LZH decoder
// "Compressed file is corrupt".
#pragma once

#include "platform/error.h"

namespace streams {

class CorruptFile : public platform::Error {
public:
    using Error::Error;
};

inline constexpr const char* kCorruptContainerMessage = "File is corrupt.";
inline constexpr const char* kCorruptCompressedMessage = "Compressed file is corrupt";

} // namespace streams
