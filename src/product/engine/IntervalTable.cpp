#include "IntervalTable.h"

#include <array>
#include <cmath>

namespace
{
// -1 octave up to +2 octaves; ±10 cents either side of unison. The last entry is unison.
constexpr std::array<float, IntervalTable::numEntries> semitones{
    -12.0f,
    -11.0f,
    -10.0f,
    -9.0f,
    -8.0f,
    -7.0f,
    -6.0f,
    -5.0f,
    -4.0f,
    -3.0f,
    -2.0f,
    -1.0f,
    -0.1f,
    0.0f,
    0.1f,
    1.0f,
    2.0f,
    3.0f,
    4.0f,
    5.0f,
    6.0f,
    7.0f,
    8.0f,
    9.0f,
    10.0f,
    11.0f,
    12.0f,
    19.0f, // an octave and a fifth
    24.0f,
    0.0f
};
} // namespace

float IntervalTable::semitonesFor (float parameterValue) noexcept
{
    if (! std::isfinite (parameterValue))
        return 0.0f;

    const auto index = std::lround (parameterValue);

    if (index < 0 || index >= numEntries)
        return 0.0f;

    return semitones[(size_t) index];
}
