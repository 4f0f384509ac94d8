// The error of damaged packed data: the container reports "File is corrupt.", the LZH decoder
// "Compressed file is corrupt".
#pragma once

#include <stdexcept>
#include <string>

class ECorruptFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kCorruptContainerMessage = "File is corrupt.";
inline constexpr const char* kCorruptCompressedMessage = "Compressed file is corrupt";
