#pragma once

#include "AllPassFilter.h"
#include "Biquad.h"
#include "LinearSmoother.h"

#include <array>

/** The reverb core: two chains of seven fractional-delay all-pass sections, one per side,
    cross-coupled through a feedback path holding a high-pass and a low-pass filter per side.
    Size scales the delays, diffusion sets the coefficients and the mix of the short parallel
    first section, feedback sets the loop gain and width the output image.
*/
class ReverbTank
{
public:
    static constexpr int numStages = 7;
    static constexpr int numSides = 2;
    static constexpr double referenceSampleRate = 44100.0;
    static constexpr double rampSeconds = 0.01;
    static constexpr double maximumSampleRate = 1536000.0;

    static constexpr std::array<int, numStages> leftLengths{ 16, 1217, 2011, 2531, 3739, 5279, 5683 };
    static constexpr std::array<int, numStages> rightLengths{ 16, 1471, 1753, 2741, 3659, 5113, 7621 };

    static constexpr float firstStageCoefficient = -0.7f;
    static constexpr float diffusionCoefficientScale = 0.7f;

    static constexpr float initialHighCutHz = 20000.0f;
    static constexpr float initialLowCutHz = 20.0f;

    ReverbTank() = default;

    void prepare (double sampleRate);

    /** Clears every section, the loop filters and the feedback state. */
    void reset() noexcept;

    /** Loop gain: feedback x 0.009 normally, 1.0 while frozen, 0 for a pure diffuser. */
    void setFeedbackTarget (float feedback) noexcept;

    /** Size 0 ... 0.9 (size x 0.009). */
    void setSizeTarget (float size) noexcept;

    /** Diffusion 0 ... 1. */
    void setDiffusionTarget (float diffusion) noexcept;

    /** Width 0 ... 1: 0 sums both sides. */
    void setWidthTarget (float width) noexcept;

    /** Cutoff of the loop low-pass filters, Hz. */
    void setHighCutTarget (float frequencyHz) noexcept;

    /** Cutoff of the loop high-pass filters, Hz. */
    void setLowCutTarget (float frequencyHz) noexcept;

    void processSample (float& left, float& right) noexcept;
    void processBlock (float* left, float* right, int numSamples) noexcept;

    float getLoopGain() const noexcept { return loopGain; }
    float getSizeFactor() const noexcept { return sizeFactor; }
    float getStoredDiffusion() const noexcept { return storedDiffusion; }
    float getCurrentHighCut() const noexcept { return highCutSmoother.getCurrentValue(); }
    float getCurrentLowCut() const noexcept { return lowCutSmoother.getCurrentValue(); }
    const AllPassFilter& getSection (int side, int stage) const noexcept { return sections[(size_t) side][(size_t) stage]; }

private:
    enum Side
    {
        leftSide = 0,
        rightSide = 1
    };

    void updateDelays() noexcept;
    void updateCoefficients() noexcept;
    void updateDiffusionMix (float diffusion) noexcept;
    void designLowPasses (float frequencyHz) noexcept;
    void designHighPasses (float frequencyHz) noexcept;
    static float sizeFactorFor (float size) noexcept;

    float sampleRate = 0.0f;
    double scale = 1.0;

    std::array<std::array<AllPassFilter, numStages>, numSides> sections;

    float storedDiffusion = 0.0f;
    float sizeFactor = 1.0f;

    LinearSmoother feedbackSmoother{ 1.0f };
    LinearSmoother sizeSmoother{ 1.0f };
    LinearSmoother widthSmoother{ 1.0f };
    LinearSmoother diffusionSmoother{ 1.0f };
    LinearSmoother highCutSmoother{ initialHighCutHz };
    LinearSmoother lowCutSmoother{ initialLowCutHz };

    std::array<Biquad, numSides> lowPasses, highPasses;

    float loopGain = 0.0f;
    std::array<float, numSides> feedbackState{};

    // The diffusion mix (a (1 - o) + f) / (2 - o), held as two gains that change only with o.
    float lastMixDiffusion = std::numeric_limits<float>::quiet_NaN();
    float firstStageMixGain = 0.0f;
    float mixNormalisation = 0.5f;

    JUCE_DECLARE_NON_COPYABLE (ReverbTank)
};
