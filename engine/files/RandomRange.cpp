#include "engine/files/RandomRange.h"

#include <cstdlib>

float RandomRange(float lo, float hi)
{
    // 1/RAND_MAX rounded to single precision; the sum is formed in extended
    // precision and only the result is rounded.
    constexpr float kStep = 1.0f / 32767.0f;
    const long double r = std::rand();
    return static_cast<float>(lo + r * (static_cast<long double>(hi - lo) * kStep));
}
