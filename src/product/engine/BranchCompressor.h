#pragma once

#include <algorithm>
#include <array>
#include <cmath>

/** The peak compressor inside a branch loop: stereo-linked detection, one envelope per side.

    The gain is 1 exactly while the envelope stays at or below the threshold, so the
    power function runs only for loud signals.
*/
class BranchCompressor
{
public:
    BranchCompressor();

    /** Recomputes the time constants when the sample rate changes; clears the envelopes. */
    void prepare (double sampleRate) noexcept;

    /** Clears the envelopes. */
    void reset() noexcept;

    /** Compresses one stereo sample in place. */
    void processSample (float& left, float& right) noexcept
    {
        const auto peak = std::max (std::abs (left), std::abs (right));
        left *= gainFor (0, peak);
        right *= gainFor (1, peak);
    }

    /** The gain for an envelope value, as the detector applies it. */
    float computeGain (float envelope) const noexcept;

    float getThresholdGain() const noexcept { return thresholdGain; }
    float getAttackCoefficient() const noexcept { return attackCoefficient; }
    float getReleaseCoefficient() const noexcept { return releaseCoefficient; }
    float getEnvelope (int channel) const noexcept { return envelopes[(size_t) channel]; }

    static constexpr float thresholdDb = -6.0f;
    static constexpr float ratio = 2.0f;
    static constexpr float attackMs = 10.0f;
    static constexpr float releaseMs = 100.0f;
    static constexpr int maxChannels = 32;

private:
    float gainFor (int channel, float peak) noexcept
    {
        auto& envelope = envelopes[(size_t) channel];
        const auto coefficient = peak >= envelope ? attackCoefficient : releaseCoefficient;
        envelope = peak + (envelope - peak) * coefficient;
        return computeGain (envelope);
    }

    float sampleRate = 0.0f;
    float thresholdGain;
    float attackCoefficient = 0.0f;
    float releaseCoefficient = 0.0f;
    std::array<float, maxChannels> envelopes{};
};
