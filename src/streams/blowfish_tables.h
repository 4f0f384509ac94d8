// Initial tables of the block cipher (the hexadecimal digits of the fractional part of pi).
#pragma once

#include <cstdint>

namespace streams {

extern const std::uint32_t kBlowfishInitialP[34];
extern const std::uint32_t kBlowfishInitialS[4][256];

} // namespace streams
