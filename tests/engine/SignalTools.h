#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Small measuring helpers for the engine tests.
namespace measure
{
constexpr double twoPi = 6.283185307179586;

inline std::vector<float> impulse (std::size_t length)
{
    std::vector<float> result (length, 0.0f);
    result[0] = 1.0f;
    return result;
}

inline std::vector<float> sine (double frequencyHz, double sampleRate, std::size_t length, double amplitude = 1.0)
{
    std::vector<float> result (length);

    for (std::size_t n = 0; n < length; ++n)
        result[n] = (float) (amplitude * std::sin (twoPi * frequencyHz * (double) n / sampleRate));

    return result;
}

inline double energy (const std::vector<float>& x, std::size_t begin, std::size_t end)
{
    double sum = 0.0;

    for (auto n = begin; n < std::min (end, x.size()); ++n)
        sum += (double) x[n] * (double) x[n];

    return sum;
}

inline double sum (const std::vector<float>& x, std::size_t begin, std::size_t end)
{
    double total = 0.0;

    for (auto n = begin; n < std::min (end, x.size()); ++n)
        total += (double) x[n];

    return total;
}

/** Root mean square over [begin, end). */
inline double rms (const std::vector<float>& x, std::size_t begin, std::size_t end)
{
    return std::sqrt (energy (x, begin, end) / (double) (std::min (end, x.size()) - begin));
}

inline double peakMagnitude (const std::vector<float>& x, std::size_t begin, std::size_t end)
{
    double peak = 0.0;

    for (auto n = begin; n < std::min (end, x.size()); ++n)
        peak = std::max (peak, (double) std::abs (x[n]));

    return peak;
}

inline std::size_t peakIndex (const std::vector<float>& x, std::size_t begin, std::size_t end)
{
    auto best = begin;

    for (auto n = begin; n < std::min (end, x.size()); ++n)
        if (std::abs (x[n]) > std::abs (x[best]))
            best = n;

    return best;
}

/** Magnitude of a Butterworth low-pass (bilinear transform, prewarped at the cutoff). */
inline double butterworthLowPassMagnitude (double frequency, double cutoff, double sampleRate)
{
    const auto ratio = std::tan (M_PI * frequency / sampleRate) / std::tan (M_PI * cutoff / sampleRate);
    return 1.0 / std::sqrt (1.0 + std::pow (ratio, 4.0));
}

/** Magnitude of a Butterworth high-pass (bilinear transform, prewarped at the cutoff). */
inline double butterworthHighPassMagnitude (double frequency, double cutoff, double sampleRate)
{
    const auto ratio = std::tan (M_PI * cutoff / sampleRate) / std::tan (M_PI * frequency / sampleRate);
    return 1.0 / std::sqrt (1.0 + std::pow (ratio, 4.0));
}
} // namespace measure
