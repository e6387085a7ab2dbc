#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace engineTest;

namespace
{
constexpr float outputGain = 2.0f; // +6.02 dB on everything
constexpr double gainTolerance = 1.0e-6;

/** 10 ms of samples, as the dry and wet ramps count them. */
int tenMilliseconds (double rate) { return (int) std::floor (0.01 * rate); }
} // namespace

TEST (EngineSignalFlow, SilentBranchesLeaveTheDryTimesItsGainTimesTwo)
{
    const struct
    {
        float dryDb;
        double expectedGain; // 10^(dB/20)
    } cases[] = { { -6.0f, 0.50118723 }, { 0.0f, 1.0 }, { 12.0f, 3.98107171 }, { -60.0f, 0.0 } };

    const auto input = noise (4000, 1);

    for (const auto& c : cases)
    {
        auto p = withoutBranches();
        p.dry = c.dryDb;
        EngineRig rig (p);
        const auto output = rig.render (input);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < input.getNumSamples(); ++i)
                ASSERT_NEAR (output.getSample (channel, i), input.getSample (channel, i) * c.expectedGain * outputGain, gainTolerance)
                    << "dry " << c.dryDb << " dB, channel " << channel << ", sample " << i;
    }
}

TEST (EngineSignalFlow, DryAtZeroDecibelsWithWetDisabledIsTheInputTimesTwo)
{
    for (const auto rate : { 44100.0, 48000.0 })
    {
        EngineRig rig (dryOnly(), rate);
        const auto input = noise (8000, 2);
        const auto output = rig.render (input);
        const auto rampEnd = tenMilliseconds (rate);

        // The wet gain fades out over the first 10 ms (the toggle ramps in on the first block).
        EXPECT_GT (rms (output, 0, rampEnd / 2), 0.0);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = rampEnd; i < input.getNumSamples(); ++i)
                ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i) * outputGain)
                    << rate << " Hz, channel " << channel << ", sample " << i;
    }
}

TEST (EngineSignalFlow, DryAndWetDisabledFadeToSilenceWithinTenMilliseconds)
{
    for (const auto rate : { 44100.0, 48000.0, 96000.0 })
    {
        EngineParameters p;
        p.dryEnabled = 0.0f;
        p.wetEnabled = 0.0f;
        EngineRig rig (p, rate);
        const auto input = noise ((int) rate / 2, 3);
        const auto output = rig.render (input);
        const auto rampEnd = tenMilliseconds (rate);

        // Still sounding at the start, fading linearly, then exact silence.
        EXPECT_GT (std::abs (output.getSample (0, 0)), 0.1f * std::abs (input.getSample (0, 0)));
        EXPECT_LT (rms (output, rampEnd - 20, 20), 0.1 * rms (output, 0, 20));
        for (int channel = 0; channel < 2; ++channel)
            for (int i = rampEnd; i < output.getNumSamples(); ++i)
                ASSERT_EQ (output.getSample (channel, i), 0.0f) << rate << " Hz, sample " << i;
    }
}

TEST (EngineSignalFlow, MonoInputIsDuplicatedBeforeTheDryCopy)
{
    EngineRig rig (dryOnly());
    auto input = noise (4000, 4);
    // Whatever the host leaves in the second channel of a mono bus is not input.
    const auto garbage = noise (4000, 99, 0.9f);
    input.copyFrom (1, 0, garbage, 1, 0, 4000);

    const auto output = rig.render (input, blockSize, 1);
    const auto rampEnd = tenMilliseconds (sampleRate);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = rampEnd; i < input.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), input.getSample (0, i) * outputGain) << "channel " << channel << ", sample " << i;
}

TEST (EngineSignalFlow, WetIsTheSumOfTheThreeBranches)
{
    // Each branch alone, then all three together: with fixed jitter the sum is exact up to
    // rounding, because the branches never see each other's output.
    auto base = wetOnly();
    base.wet = 0.0f;
    base.freqShiftFreq = 100.0f;
    const auto input = noise (24000, 5);

    const auto renderWith = [&] (float l1, float l2, float l3)
    {
        auto p = base;
        p.pitchShift1Gain = l1;
        p.pitchShift2Gain = l2;
        p.freqShiftGain = l3;
        EngineRig rig (p);
        return rig.render (input);
    };

    const auto all = renderWith (90.0f, 75.0f, 60.0f);
    const auto b1 = renderWith (90.0f, 0.0f, 0.0f);
    const auto b2 = renderWith (0.0f, 75.0f, 0.0f);
    const auto b3 = renderWith (0.0f, 0.0f, 60.0f);

    EXPECT_GT (rms (b1, 12000, 12000), 1.0e-3);
    EXPECT_GT (rms (b2, 12000, 12000), 1.0e-3);
    EXPECT_GT (rms (b3, 12000, 12000), 1.0e-3);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_NEAR (all.getSample (channel, i), b1.getSample (channel, i) + b2.getSample (channel, i) + b3.getSample (channel, i), 1.0e-5)
                << "channel " << channel << ", sample " << i;
}

TEST (EngineSignalFlow, FreezeKeepsNewInputOutWhileTheTailSustains)
{
    const auto seconds = [] (double s)
    { return (int) (s * sampleRate); };
    auto p = wetOnly();
    const auto before = noise (seconds (1.0), 6);

    EngineRig fed (p), starved (p), unfrozen (p);
    (void) fed.render (before);
    (void) starved.render (before);
    (void) unfrozen.render (before);

    fed.parameters.freeze = 1.0f;
    starved.parameters.freeze = 1.0f;
    const auto afterFed = fed.render (noise (seconds (3.0), 7));
    const auto afterStarved = starved.render (silence (seconds (3.0)));
    const auto afterUnfrozen = unfrozen.render (silence (seconds (3.0)));

    EXPECT_TRUE (fed.engine->isFrozen());
    EXPECT_FLOAT_EQ (fed.engine->getTank().getLoopGain(), 1.0f);

    // Nothing of the new input reaches the output while frozen (the dry path is off).
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < afterFed.getNumSamples(); ++i)
            ASSERT_EQ (afterFed.getSample (channel, i), afterStarved.getSample (channel, i)) << "sample " << i;

    // The frozen tail holds (within 12 dB over two seconds); without freeze it dies away.
    const auto early = rms (afterStarved, seconds (0.5), seconds (0.5));
    const auto late = rms (afterStarved, seconds (2.5), seconds (0.5));
    EXPECT_GT (early, 1.0e-3);
    EXPECT_GT (late, early / 4.0);
    EXPECT_LT (rms (afterUnfrozen, seconds (2.5), seconds (0.5)), late / 10.0);
}

TEST (EngineSignalFlow, LeavingFreezeRestoresTheFeedbackAndTheInput)
{
    auto p = wetOnly();
    p.feedback = 70.0f;
    p.freeze = 1.0f;
    EngineRig rig (p);
    (void) rig.render (noise (4800, 8));
    EXPECT_FLOAT_EQ (rig.engine->getTank().getLoopGain(), 1.0f);

    // Feedback changes while frozen are ignored; leaving freeze goes back to the held value.
    rig.parameters.feedback = 20.0f;
    (void) rig.render (noise (4800, 9));
    EXPECT_FLOAT_EQ (rig.engine->getTank().getLoopGain(), 1.0f);

    // The first block after leaving freeze heads for 0.7 x 0.9 (a 480-step ramp from 1.0),
    // not for the 20 % set while frozen; the next block takes the new value.
    rig.parameters.freeze = 0.0f;
    (void) rig.render (silence (blockSize));
    EXPECT_NEAR (rig.engine->getTank().getLoopGain(), 1.0f + (0.63f - 1.0f) * (float) blockSize / 480.0f, 1.0e-4);

    (void) rig.render (noise (4800, 11));
    EXPECT_NEAR (rig.engine->getTank().getLoopGain(), 0.2f * 0.9f, 1.0e-6);
}

TEST (EngineSignalFlow, ReverbMappingsReachTheTank)
{
    EngineParameters p;
    p.size = 50.0f;
    p.diffusion = 40.0f;
    p.hiCut = 3000.0f;
    p.lowCut = 200.0f;
    p.feedback = 80.0f;
    EngineRig rig (p);
    (void) rig.render (noise (4800, 12)); // 100 ms: every 10 ms ramp has ended

    const auto& tank = rig.engine->getTank();
    EXPECT_NEAR (tank.getLoopGain(), 0.8 * 0.9, 1.0e-6);
    EXPECT_NEAR (tank.getSizeFactor(), 0.5 * 0.9 * 0.99 + 0.01, 1.0e-6);
    EXPECT_NEAR (tank.getStoredDiffusion(), 0.4, 1.0e-6);
    EXPECT_NEAR (tank.getCurrentHighCut(), 3000.0, 1.0e-3);
    EXPECT_NEAR (tank.getCurrentLowCut(), 200.0, 1.0e-3);
}

TEST (EngineSignalFlow, PrepareClearsTheTailAndCanBeRepeated)
{
    EngineRig rig (wetOnly());
    (void) rig.render (noise (48000, 13));
    EXPECT_GT (rms (rig.render (silence (4800)), 0, 4800), 1.0e-3);

    for (int i = 0; i < 3; ++i)
        rig.engine->prepare (blockSize, sampleRate, rig.parameters, nullptr);

    const auto after = rig.render (silence (48000));
    EXPECT_EQ (rms (after, 0, after.getNumSamples()), 0.0);

    // And it still works.
    EXPECT_GT (rms (rig.render (noise (24000, 14)), 12000, 12000), 1.0e-3);
}

TEST (EngineSignalFlow, ABlockWithoutChannelsComesOutSilent)
{
    EngineRig rig;
    auto block = noise (blockSize, 15);
    rig.engine->process (block, 0, 2, rig.parameters, nullptr);
    EXPECT_TRUE (block.hasBeenCleared());
    EXPECT_EQ (block.getMagnitude (0, blockSize), 0.0f);
}

TEST (EngineSignalFlow, WidthZeroMakesTheWholeWetSignalMono)
{
    // Width reaches the modulation stage, the main tank and every branch: at 0 each of them
    // sums its sides, so the wet output is identical on both channels once the 10 ms ramps
    // have ended, although the input differs between the channels and the grains jitter
    // differently on each side.
    auto p = wetOnly();
    p.freqShiftGain = 50.0f;
    p.freqShiftFreq = 80.0f;
    p.width = 0.0f;
    EngineRig rig (p);
    const auto output = rig.render (noise (24000, 16));

    for (int i = 960; i < output.getNumSamples(); ++i)
        ASSERT_EQ (output.getSample (0, i), output.getSample (1, i)) << "sample " << i;

    rig.parameters.width = 100.0f;
    const auto wide = rig.render (noise (24000, 17));
    EXPECT_GT (rms (wide, 12000, 12000), 1.0e-3);
    EXPECT_NE (wide.getSample (0, 20000), wide.getSample (1, 20000));
}

TEST (EngineSignalFlow, ASampleRateNoHostRunsAtLeavesItSilent)
{
    for (const auto rate : { 0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(), 1.0e9 })
    {
        OrynEngine engine;
        const EngineParameters p;
        engine.prepare (blockSize, rate, p, nullptr);
        auto block = noise (blockSize, 18);
        engine.process (block, 2, 2, p, nullptr);
        EXPECT_EQ (block.getMagnitude (0, blockSize), 0.0f) << rate;
    }
}
