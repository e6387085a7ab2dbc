#include "Biquad.h"

namespace
{
constexpr double pi = 3.141592653589793;

// Designs keep their cutoff inside the band the bilinear transform can represent, so that a
// low sample rate or a bad value never gives an unstable or undefined section.
constexpr double minimumFrequencyHz = 1.0;
constexpr double maximumFrequencyFraction = 0.499;
constexpr double minimumShelfGain = 1.0e-15;
constexpr int immediateLockAttempts = 20;

bool isUsableSampleRate (double sampleRate) noexcept
{
    return std::isfinite (sampleRate) && sampleRate > 0.0;
}

double clampFrequency (double sampleRate, double frequency) noexcept
{
    const auto highest = maximumFrequencyFraction * sampleRate;

    if (! (frequency > minimumFrequencyHz))
        return juce::jmin (minimumFrequencyHz, highest);

    return juce::jmin (frequency, highest);
}

Biquad::Coefficients passThrough() noexcept
{
    Biquad::Coefficients c;
    c.b0 = 1.0f;
    return c;
}
} // namespace

Biquad::ScopedSpin::ScopedSpin (const juce::SpinLock& lockToTake) noexcept : spinLock (lockToTake)
{
    for (int attempt = 0; attempt < immediateLockAttempts; ++attempt)
        if (spinLock.tryEnter())
            return;

    while (! spinLock.tryEnter())
        juce::Thread::yield();
}

Biquad::Coefficients Biquad::makeLowPass (double sampleRate, double frequency, double inverseQ) noexcept
{
    if (! isUsableSampleRate (sampleRate))
        return passThrough();

    const auto n = 1.0 / std::tan (pi * clampFrequency (sampleRate, frequency) / sampleRate);
    const auto c = 1.0 / (1.0 + inverseQ * n + n * n);

    Coefficients result;
    result.b0 = (float) c;
    result.b1 = (float) (2.0 * c);
    result.b2 = (float) c;
    result.a1 = (float) (2.0 * c * (1.0 - n * n));
    result.a2 = (float) (c * (1.0 - inverseQ * n + n * n));
    return result;
}

Biquad::Coefficients Biquad::makeHighPass (double sampleRate, double frequency, double inverseQ) noexcept
{
    if (! isUsableSampleRate (sampleRate))
        return passThrough();

    const auto n = std::tan (pi * clampFrequency (sampleRate, frequency) / sampleRate);
    const auto c = 1.0 / (1.0 + inverseQ * n + n * n);

    Coefficients result;
    result.b0 = (float) c;
    result.b1 = (float) (-2.0 * c);
    result.b2 = (float) c;
    result.a1 = (float) (2.0 * c * (n * n - 1.0));
    result.a2 = (float) (c * (1.0 - inverseQ * n + n * n));
    return result;
}

Biquad::Coefficients Biquad::makeHighShelf (double sampleRate, double frequency, double q, float gainFactor) noexcept
{
    if (! isUsableSampleRate (sampleRate) || ! (q > 0.0))
        return passThrough();

    const double A = std::sqrt (juce::jmax ((float) minimumShelfGain, gainFactor));
    const auto omega = 2.0 * pi * clampFrequency (sampleRate, frequency) / sampleRate;
    const auto cosOmega = std::cos (omega);
    const auto beta = std::sin (omega) * (double) std::sqrt ((float) A) / q;
    const auto a0 = (A + 1.0) - (A - 1.0) * cosOmega + beta;

    Coefficients result;
    result.b0 = (float) (A * ((A + 1.0) + (A - 1.0) * cosOmega + beta) / a0);
    result.b1 = (float) (-2.0 * A * ((A - 1.0) + (A + 1.0) * cosOmega) / a0);
    result.b2 = (float) (A * ((A + 1.0) + (A - 1.0) * cosOmega - beta) / a0);
    result.a1 = (float) (2.0 * ((A - 1.0) - (A + 1.0) * cosOmega) / a0);
    result.a2 = (float) (((A + 1.0) - (A - 1.0) * cosOmega - beta) / a0);
    return result;
}

void Biquad::setLowPass (double sampleRate, double frequency, double inverseQ) noexcept
{
    setCoefficients (makeLowPass (sampleRate, frequency, inverseQ));
}

void Biquad::setHighPass (double sampleRate, double frequency, double inverseQ) noexcept
{
    setCoefficients (makeHighPass (sampleRate, frequency, inverseQ));
}

void Biquad::setHighShelf (double sampleRate, double frequency, double q, float gainFactor) noexcept
{
    setCoefficients (makeHighShelf (sampleRate, frequency, q, gainFactor));
}

void Biquad::setCoefficients (const Coefficients& newCoefficients) noexcept
{
    const ScopedSpin scope (lock);
    b0 = newCoefficients.b0;
    b1 = newCoefficients.b1;
    b2 = newCoefficients.b2;
    a1 = newCoefficients.a1;
    a2 = newCoefficients.a2;
    updated = true;
}

Biquad::Coefficients Biquad::getCoefficients() const noexcept
{
    const ScopedSpin scope (lock);
    Coefficients result;
    result.b0 = b0;
    result.b1 = b1;
    result.b2 = b2;
    result.a1 = a1;
    result.a2 = a2;
    return result;
}

void Biquad::reset() noexcept
{
    const ScopedSpin scope (lock);
    z1 = 0.0f;
    z2 = 0.0f;
}
