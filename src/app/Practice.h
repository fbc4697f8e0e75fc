#pragma once

#include <cstdint>

namespace tw {

// Sheet numbers run from 1 to this, wherever a sheet is made.
inline constexpr std::uint64_t LargestSheetNumber = 999999;

// A new sheet number, 1 to LargestSheetNumber, different from run to run.
std::uint64_t newSheetNumber();

} // namespace tw
