#pragma once

#include "Biquad.h"
#include "BranchCompressor.h"
#include "LinearSmoother.h"
#include "ReverbTank.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** One feedback branch of the wet signal: a recirculating loop around a shifter.

    Every sample the input is mixed with the loop signal, shifted by the derived class,
    blended with the unshifted mix into the output, and diffused by a tank of its own that
    runs without feedback. The shifted signal goes back into the loop through a compressor,
    a saturator and two loop filters, so every pass is shifted again.
*/
class OneBranchProcessor
{
public:
    OneBranchProcessor();
    virtual ~OneBranchProcessor() = default;

    /** Sizes everything for the sample rate. Allocates; call before processing. */
    virtual void prepare (int maximumBlockSize, double sampleRate);

    /** Clears the loop, the filters, the compressor and the output tank. */
    virtual void reset();

    /** Stereo width 0…1 of the output tank (and of the shifter's grains). */
    virtual void setWidth (float width);

    /** The shift: semitones for the pitch branches, hertz for the frequency-shift branch. */
    virtual void setShiftAmount (bool reverse, float amount) = 0;

    /** The shifter: replaces one stereo loop sample by its shifted version. */
    virtual void processSample (float& left, float& right) = 0;

    /** Seeds the grain jitter with a fixed value, so that runs can be repeated exactly
        (the branches seed themselves non-deterministically otherwise). */
    virtual void setJitterSeed (juce::int64 seed) = 0;

    /** Runs the branch loop over a stereo block in place: reverb output in, branch output out. */
    void process (juce::AudioBuffer<float>& buffer) noexcept;

    /** Loop feedback 0…1, ramped over 50 ms. */
    void setLoopFeedback (float feedback) noexcept { loopFeedback.setTargetValue (feedback); }

    /** Settings of the output tank, mapped as for the main tank. */
    void setTankSize (float size) noexcept { outputTank.setSizeTarget (size); }
    void setTankDiffusion (float diffusion) noexcept { outputTank.setDiffusionTarget (diffusion); }
    void setTankLowCut (float frequencyHz) noexcept { outputTank.setLowCutTarget (frequencyHz); }
    void setTankHighCut (float frequencyHz) noexcept { outputTank.setHighCutTarget (frequencyHz); }

    /** The loop signal that the next sample mixes in (after the loop filters). */
    float getLoopState (int side) const noexcept { return side == 0 ? loopLeft : loopRight; }

    /** Share of the shifted signal in the branch output. */
    static constexpr float shiftedBlend = 0.33f;
    static constexpr double smoothingSeconds = (double) 0.05f;
    static constexpr double loopHighPassHz = 100.0;
    static constexpr double loopLowPassHz = 15000.0;
    static constexpr double loopInverseQ = 1.0 / (double) 0.707f;

private:
    void processOneSample (float& left, float& right) noexcept;

    ReverbTank outputTank;
    float loopLeft = 0.0f;
    float loopRight = 0.0f;
    LinearSmoother loopFeedback{ 0.0f };
    LinearSmoother blend{ shiftedBlend };
    BranchCompressor compressor;
    Biquad loopHighPassLeft, loopHighPassRight;
    Biquad loopLowPassLeft, loopLowPassRight;
    float saturationGain;

    JUCE_DECLARE_NON_COPYABLE (OneBranchProcessor)
};
