#include "app/Practice.h"

#include <random>

namespace tw {

std::uint64_t newSheetNumber()
{
    std::random_device device;
    return 1 + device() % LargestSheetNumber;
}

} // namespace tw
