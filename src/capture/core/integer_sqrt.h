#pragma once

#include <cmath>
#include <cstdint>

namespace vistrel {

// floor(sqrt(n)), exact for every n: the floating estimate is only a start.
inline uint64_t IntegerSqrt(uint64_t n)
{
    uint64_t root = uint64_t(std::sqrt(double(n)));
    // Squares are compared as root > n / root to stay clear of overflow.
    while (root > 0 && root > n / root)
        --root;
    while ((root + 1) <= n / (root + 1))
        ++root;
    return root;
}

} // namespace vistrel
