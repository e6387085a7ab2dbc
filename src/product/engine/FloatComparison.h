#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

/** Approximate equality as the engine's smoothers and parameter readers use it: values that
    are not finite must be identical; otherwise two values match when they differ by at most
    the smallest normal number or by one epsilon relative to the larger magnitude.
*/
template <typename Type>
bool isApproximatelyEqual (Type a, Type b) noexcept
{
    if (! (std::isfinite (a) && std::isfinite (b)))
        return a == b;

    const auto difference = std::abs (a - b);

    return difference <= std::numeric_limits<Type>::min()
           || difference <= std::numeric_limits<Type>::epsilon() * std::max (std::abs (a), std::abs (b));
}
