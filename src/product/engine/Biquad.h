#pragma once

#include <juce_core/juce_core.h>

/** One second-order filter section in transposed direct form II, with the three designs the
    engine uses. Outputs of magnitude 1e-8 or less are flushed to zero so that decaying tails
    end in exact zeros instead of denormals.
*/
class Biquad
{
public:
    /** Coefficients normalised so that a0 = 1. */
    struct Coefficients
    {
        float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    };

    static constexpr float flushThreshold = 1.0e-8f;

    /** Inverse Q of a Butterworth section: sqrt (2). */
    static constexpr double butterworthInverseQ = 1.4142135623730951;

    Biquad() = default;

    /** Low-pass at frequency (Hz) with the given inverse Q. */
    static Coefficients makeLowPass (double sampleRate, double frequency, double inverseQ) noexcept;

    /** High-pass at frequency (Hz) with the given inverse Q. */
    static Coefficients makeHighPass (double sampleRate, double frequency, double inverseQ) noexcept;

    /** High shelf at frequency (Hz) with quality q and a linear gain factor above the shelf. */
    static Coefficients makeHighShelf (double sampleRate, double frequency, double q, float gainFactor) noexcept;

    /** Takes a design and clears the state. */
    void prepare (const Coefficients& design) noexcept
    {
        setCoefficients (design);
        reset();
    }

    void setLowPass (double sampleRate, double frequency, double inverseQ) noexcept;
    void setHighPass (double sampleRate, double frequency, double inverseQ) noexcept;
    void setHighShelf (double sampleRate, double frequency, double q, float gainFactor) noexcept;

    /** Writes new coefficients under the lock; the state is kept. */
    void setCoefficients (const Coefficients& newCoefficients) noexcept;

    /** A consistent copy of the coefficients, taken under the lock. */
    Coefficients getCoefficients() const noexcept;

    /** True once coefficients have been written. */
    bool hasBeenUpdated() const noexcept { return updated; }

    /** Clears the state under the lock. */
    void reset() noexcept;

    float processSample (float x) noexcept
    {
        auto y = b0 * x + z1;

        if (y >= -flushThreshold && y <= flushThreshold)
            y = 0.0f;

        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }

private:
    /** Coefficient writes and clears may come from another thread than the processing; they
        are kept atomic with respect to each other.
    */
    class ScopedSpin
    {
    public:
        explicit ScopedSpin (const juce::SpinLock& lockToTake) noexcept;
        ~ScopedSpin() { spinLock.exit(); }

    private:
        const juce::SpinLock& spinLock;
        JUCE_DECLARE_NON_COPYABLE (ScopedSpin)
    };

    juce::SpinLock lock;
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    float z1 = 0.0f, z2 = 0.0f;
    bool updated = false;

    JUCE_DECLARE_NON_COPYABLE (Biquad)
};
