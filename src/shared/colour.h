#pragma once
// The colour type of the plot surfaces and the shown curves: a 32-bit value
// 0x00BBGGRR, as the drawing code and the curve colour table store it.

#include <cstdint>

namespace movra {

using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

} // namespace movra
