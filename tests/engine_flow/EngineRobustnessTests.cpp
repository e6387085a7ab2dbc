#include "AllocationCounter.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace engineTest;

namespace
{
/** Plays a second of noise, then a quiet block, then jumps the transport and returns the
    block played at the new place (silent input: whatever sounds is the old tail). */
juce::AudioBuffer<float> tailAfterJump (juce::int64 jump, bool looping, bool live, double tempoAfterJump)
{
    TestPlayHead head;
    EngineRig rig (wetOnly(), sampleRate, blockSize, &head);
    rig.engine->setHostIsAbletonLive (live);
    (void) rig.render (noise (48000, 21));
    (void) rig.render (silence (blockSize));

    head.position += jump - blockSize; // the next block starts jump samples after the last
    head.looping = looping;
    head.bpm = tempoAfterJump;
    return rig.render (silence (blockSize));
}
} // namespace

TEST (TransportJump, ClearsOnLongJumpsButNotOnLoopsOrSteps)
{
    const struct
    {
        const char* what;
        juce::int64 jump; // from the start of the last block to the start of this one
        bool looping, live;
        double tempo;
        bool cleared;
    } cases[] = {
        { "steady playback", blockSize, false, false, 120.0, false },
        { "forward, two blocks", 2 * blockSize, false, false, 120.0, false },
        { "forward, more than two blocks", 2 * blockSize + 1, false, false, 120.0, true },
        { "forward by a minute", 48000 * 60, false, false, 120.0, true },
        { "backward, not looping", -48000, false, false, 120.0, true },
        { "backward while looping", -48000, true, false, 120.0, false },
        { "forward while looping", 48000, true, false, 120.0, true },
        { "Live, steady tempo", 48000, false, true, 120.0, true },
        { "Live, tempo change", 48000, false, true, 121.0, false },
        { "elsewhere, tempo change", 48000, false, false, 121.0, true },
    };

    for (const auto& c : cases)
    {
        const auto block = tailAfterJump (c.jump, c.looping, c.live, c.tempo);

        if (c.cleared)
            EXPECT_EQ (block.getMagnitude (0, blockSize), 0.0f) << c.what;
        else
            EXPECT_GT (rms (block, 0, blockSize), 1.0e-3) << c.what;
    }
}

TEST (TransportJump, AStoppedTransportIsNoJump)
{
    TestPlayHead head;
    EngineRig rig (wetOnly(), sampleRate, blockSize, &head);
    (void) rig.render (noise (48000, 22));

    head.playing = false;
    head.position += 48000 * 10;
    EXPECT_GT (rms (rig.render (silence (blockSize)), 0, blockSize), 1.0e-3);
}

TEST (NonFiniteInput, CountsAsSilenceAndTheReverbCarriesOn)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();
    const auto clean = noise (48000, 23);

    auto poisoned = clean;
    auto zeroed = clean;
    const struct
    {
        int channel, sample;
        float value;
    } faults[] = { { 0, 100, nan }, { 1, 100, inf }, { 0, 7000, -inf }, { 1, 20000, nan }, { 0, 20001, nan } };

    for (const auto& f : faults)
    {
        poisoned.setSample (f.channel, f.sample, f.value);
        zeroed.setSample (f.channel, f.sample, 0.0f);
    }

    EngineRig hit, reference;
    const auto output = hit.render (poisoned);
    const auto expected = reference.render (zeroed);
    ASSERT_TRUE (allFinite (output));

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), expected.getSample (channel, i)) << "channel " << channel << ", sample " << i;

    // A block of nothing but NaN is a block of silence; the tail rings on.
    auto allNan = silence (blockSize);
    for (int channel = 0; channel < 2; ++channel)
        juce::FloatVectorOperations::fill (allNan.getWritePointer (channel), nan, blockSize);

    const auto afterNan = hit.render (allNan);
    ASSERT_TRUE (allFinite (afterNan));
    EXPECT_GT (rms (afterNan, 0, blockSize), 1.0e-3);
    EXPECT_GT (rms (hit.render (noise (24000, 24)), 0, 24000), 1.0e-3);
}

TEST (BlockSize, OutputDoesNotDependOnHowTheHostSlicesIt)
{
    // Parameters held still; every branch sounding, with reverse and a frequency shift, and a
    // pre-delay, so that every stage's state crosses block boundaries.
    auto p = EngineParameters{};
    p.freqShiftGain = 50.0f;
    p.freqShiftFreq = 35.0f;
    p.pitchShift2Reverse = 1.0f;
    p.predelayFreeTime = 37.0f;
    constexpr int prepared = 1024;

    auto input = noise (60000, 25);
    input.applyGainRamp (30000, 30000, 1.0f, 0.0f);

    EngineRig whole (p, sampleRate, prepared);
    const auto reference = whole.render (input, input.getNumSamples()); // longer than prepared

    for (const auto length : { 1, 17, 256, 1000 })
    {
        EngineRig sliced (p, sampleRate, prepared);
        const auto output = sliced.render (input, length);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_EQ (output.getSample (channel, i), reference.getSample (channel, i))
                    << "blocks of " << length << ", channel " << channel << ", sample " << i;
    }
}

TEST (RealTime, ProcessNeitherAllocatesNorGrowsAfterPrepare)
{
    // Every parameter moves, toggles included, over blocks of changing size.
    TestPlayHead head;
    constexpr int prepared = 512;
    EngineRig rig ({}, sampleRate, prepared, &head);
    const auto input = noise (prepared, 26);
    juce::AudioBuffer<float> block (2, prepared);
    juce::Random random (27);

    const auto toggle = [] (int step, int period)
    { return (step / period) % 2 == 0 ? 0.0f : 1.0f; };
    int allocations = 0;

    for (int step = 0; step < 400; ++step)
    {
        auto& p = rig.parameters;
        p.predelaySyncOption = toggle (step, 7);
        p.predelayFreeTime = random.nextFloat() * 500.0f;
        p.predelayNoteTime = (float) random.nextInt (19); // up to 1/1: at most 4 s below
        p.feedback = random.nextFloat() * 100.0f;
        p.size = random.nextFloat() * 100.0f;
        p.diffusion = random.nextFloat() * 100.0f;
        p.freeze = toggle (step, 11);
        p.lowCut = 10.0f + random.nextFloat() * 4990.0f;
        p.hiCut = 100.0f + random.nextFloat() * 19900.0f;
        p.pitchNote1 = (float) random.nextInt (29);
        p.pitchShift1Gain = random.nextFloat() * 100.0f;
        p.pitchShift1Reverse = toggle (step, 5);
        p.pitchNote2 = (float) random.nextInt (29);
        p.pitchShift2Gain = random.nextFloat() * 100.0f;
        p.pitchShift2Reverse = toggle (step, 3);
        p.freqShiftFreq = -100.0f + random.nextFloat() * 2100.0f;
        p.freqShiftReverse = toggle (step, 4);
        p.freqShiftGain = random.nextFloat() * 100.0f;
        p.width = random.nextFloat() * 100.0f;
        p.mod = random.nextFloat() * 100.0f;
        p.dry = -60.0f + random.nextFloat() * 72.0f;
        p.wet = -60.0f + random.nextFloat() * 72.0f;
        p.dryEnabled = toggle (step, 13);
        p.wetEnabled = toggle (step, 9);
        head.bpm = 121.0 + random.nextFloat() * 120.0; // a whole note in x/8 stays within 4 s
        head.denominator = step % 2 == 0 ? 4 : 8;

        const auto n = 1 + random.nextInt (prepared);
        block.setSize (2, n, false, false, true);
        for (int channel = 0; channel < 2; ++channel)
            block.copyFrom (channel, 0, input, channel, 0, n);

        {
            const ScopedAllocationCounter counter;
            rig.engine->process (block, 2, 2, p, &head);
            allocations += counter.getCount();
        }

        head.position += n;
        ASSERT_TRUE (allFinite (block)) << "step " << step;
    }

    EXPECT_EQ (allocations, 0);
}

TEST (RealTime, TheCounterSeesAllocations)
{
    const ScopedAllocationCounter counter;
    juce::AudioBuffer<float> buffer (2, 100000); // the C allocator
    buffer.setSample (1, 99999, 0.25f);
    std::vector<float> values (1000); // operator new
    values[999] = buffer.getSample (1, 99999);
    EXPECT_EQ (values[999], 0.25f);
    EXPECT_GE (counter.getCount(), 2);
}
