#pragma once

#include <array>
#include <cstddef>

/** A sine oscillator reading a 32768-entry table (plus one guard entry) with linear
    interpolation; used as LFO and as quadrature oscillator. Phase and increment are in table
    units and kept in double precision.
*/
class SineTableOscillator
{
public:
    static constexpr int tableSize = 32768;
    using Table = std::array<float, (std::size_t) tableSize + 1>;

    /** The initial phase is in cycles: 0.25 starts at the peak (a cosine). */
    explicit SineTableOscillator (double initialPhaseCycles = 0.0) noexcept;

    /** Sets the sample rate (Hz) and recomputes the increment if it changed. */
    void prepare (double newSampleRate) noexcept { setSampleRate (newSampleRate); }

    /** Restarts at the initial phase. */
    void reset() noexcept;

    void setSampleRate (double newSampleRate) noexcept;
    void setFrequency (double newFrequency) noexcept;

    double getSampleRate() const noexcept { return sampleRate; }
    double getFrequency() const noexcept { return frequency; }
    double getPhase() const noexcept { return phase; }
    double getIncrement() const noexcept { return increment; }

    float getNextValue() noexcept
    {
        const auto index = (int) phase;
        const auto fraction = (float) (phase - (double) index);
        const auto value = table[index] + (table[index + 1] - table[index]) * fraction;

        phase += increment;

        if (phase >= (double) tableSize)
            phase = wrapUpwardsOverflow (phase);
        else if (phase < 0.0)
            phase = wrapNegative (phase);

        return value;
    }

    /** The table shared by every oscillator: sin (i x 2 pi / 32768) in single precision. */
    static const Table& getTable() noexcept;

private:
    static double wrapUpwardsOverflow (double p) noexcept;
    static double wrapNegative (double p) noexcept;
    void updateIncrement() noexcept;

    const float* table;
    double initialPhase = 0.0;
    double phase = 0.0;
    double increment = 0.0;
    double sampleRate = 0.0;
    double frequency = 0.0;
};
