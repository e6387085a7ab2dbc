#pragma once

#include "Biquad.h"
#include "LinearSmoother.h"
#include "SineTableOscillator.h"

#include <array>
#include <vector>

/** The modulated multi-tap delay in front of the reverb tank. Each input side feeds four
    delay channels; four sine LFOs sweep four taps per side around a short base delay (the
    left and right taps of one LFO move in opposite directions), and the taps are placed in
    the stereo field by the width.
*/
class ModulationStage
{
public:
    static constexpr int tapsPerSide = 4;
    static constexpr int numDelayChannels = 2 * tapsPerSide;
    static constexpr int delayLength = 38400;

    static constexpr float baseDelayMs = 0.33333334f;
    static constexpr float depthScaleMs = 9.666667f;

    static constexpr float rateStartHz = 0.01f;
    static constexpr float rateEndHz = 2.5f;
    static constexpr float rateSkew = 0.42638612f; // puts 0.5 Hz at the centre of the control

    static constexpr double rateRampSeconds = 0.01;
    static constexpr double depthRampSeconds = 0.2;
    static constexpr double widthRampSeconds = 0.01;

    static constexpr double tapShelfFrequencyHz = 1600.0;
    static constexpr double tapShelfQ = 0.5;
    static constexpr float tapShelfGain = 0.75f;

    ModulationStage();

    void prepare (int maximumBlockSize, double sampleRate);

    /** Clears the delay memory and the tap filters; LFO phases and smoothers run on. */
    void reset() noexcept;

    /** Rate control, 0 ... 1 on the skewed rate range (ramped over 10 ms). */
    void setRateControlTarget (float rateControl) noexcept;

    /** Depth 0 ... 1 (ramped over 200 ms). */
    void setDepthTarget (float depth) noexcept;

    /** Width 0 ... 1 (ramped over 10 ms): 1 keeps the sides apart, 0 gives mono. */
    void setWidthTarget (float width) noexcept;

    void processSample (float& left, float& right) noexcept;
    void processBlock (float* left, float* right, int numSamples) noexcept;

    const SineTableOscillator& getLfo (int index) const noexcept { return lfos[(size_t) index]; }
    const juce::NormalisableRange<float>& getRateRange() const noexcept { return rateRange; }

private:
    float* channel (int index) noexcept { return delayMemory.data() + (size_t) index * (delayLength + 1); }
    void updateRate (float rateControl) noexcept;
    void updatePlacement (float width) noexcept;
    float readTap (int channelIndex, float newestPosition, float delaySamples) noexcept;

    std::vector<float> delayMemory;
    int writePosition = 0;

    std::array<SineTableOscillator, tapsPerSide> lfos;
    static constexpr std::array<float, tapsPerSide> lfoMultipliers{ 1.0f, 1.25f, 1.5f, 1.0625f };

    juce::NormalisableRange<float> rateRange;
    float lastRateControl = -1.0f;

    LinearSmoother rateControlSmoother{ 0.0f };
    LinearSmoother depthSmoother{ 0.0f };
    LinearSmoother widthSmoother{ 1.0f };

    std::array<Biquad, 2> tapFilters; // [0] left group, [1] right group

    float sampleRate = 0.0f;
    float samplesPerMs = 0.0f;

    // Placement gains, recomputed only when the width moves.
    float lastWidth = std::numeric_limits<float>::quiet_NaN();
    float leftGroupToLeft = 1.0f, leftGroupToRight = 0.0f;
    float rightGroupToLeft = 0.0f, rightGroupToRight = 1.0f;

    JUCE_DECLARE_NON_COPYABLE (ModulationStage)
};
