#pragma once

#include <array>

/** Six first-order all-pass sections in series, in double precision.

    Two such paths with staggered poles form a wide-band 90° phase splitter: over the audio
    band both have unit gain and their phase difference stays close to a quarter turn.
*/
class FirstOrderAllPassPath
{
public:
    static constexpr int numSections = 6;
    using Poles = std::array<double, numSections>;

    /** Derives the section coefficients from dimensionless pole values for a sample rate. */
    void design (const Poles& poles, double sampleRate) noexcept
    {
        // The poles are scaled so that pole value 1 sits at 7.5 Hz.
        const auto g = poleScale / sampleRate;

        for (size_t i = 0; i < (size_t) numSections; ++i)
        {
            const auto pg = poles[i] * g;
            coefficients[i] = (pg - 1.0) / (pg + 1.0);
        }
    }

    void reset() noexcept { states.fill (0.0); }

    double process (double x) noexcept
    {
        for (size_t i = 0; i < (size_t) numSections; ++i)
        {
            const auto c = coefficients[i];
            const auto v = x - c * states[i];
            x = c * v + states[i];
            states[i] = v;
        }

        return x;
    }

    double getCoefficient (int section) const noexcept { return coefficients[(size_t) section]; }

    /** 15π, the analogue pole scale in radians per second per pole unit. */
    static constexpr double poleScale = 47.12388980384689;

private:
    Poles coefficients{};
    Poles states{};
};
