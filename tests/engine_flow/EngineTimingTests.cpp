#include "EngineTestSupport.h"
#include "IntervalTable.h"
#include "NoteTable.h"
#include "TempoSyncedTime.h"

#include <gtest/gtest.h>

using namespace engineTest;

TEST (PreDelayTime, SyncedNotesFollowTempoAndTheTimeSignaturesBeat)
{
    const struct
    {
        double bpm;
        int numerator, denominator;
        float noteIndex;
        double expectedSeconds;
    } cases[] = {
        { 120.0, 4, 4, 12.0f, 0.5 }, // a quarter note is one beat
        { 120.0, 6, 8, 12.0f, 1.0 }, // in 6/8 the beat is an eighth: a quarter is two beats
        { 120.0, 4, 4, 18.0f, 2.0 }, // whole note
        { 90.0, 3, 4, 9.0f, 1.0 / 3.0 }, // eighth at 90
        { 120.0, 4, 4, 8.0f, 2.0 / 24.0 * 4.0 * 0.5 }, // 2/24, as written
        { 5.0, 4, 4, 12.0f, 6.0 }, // below the 10 bpm floor: a beat lasts 6 s
        { 120.0, 4, 0, 12.0f, 0.125 }, // a denominator below 1 counts as 1
        { 120.0, 4, 4, 40.0f, 0.5 }, // outside the table: a quarter note
    };

    for (const auto& c : cases)
    {
        TestPlayHead head;
        head.bpm = c.bpm;
        head.numerator = c.numerator;
        head.denominator = c.denominator;
        EngineParameters p;
        p.predelaySyncOption = 1.0f;
        p.predelayNoteTime = c.noteIndex;
        EngineRig rig (p, sampleRate, blockSize, &head);
        (void) rig.render (silence (blockSize));

        EXPECT_NEAR (rig.engine->getPreDelaySeconds(), c.expectedSeconds, 1.0e-6)
            << c.bpm << " bpm, " << c.numerator << "/" << c.denominator << ", note " << c.noteIndex;
        EXPECT_EQ (rig.engine->getPreDelayTargetSamples(), (float) std::round (c.expectedSeconds * sampleRate));
        EXPECT_GE (rig.engine->getPreDelayCapacity(), (int) (c.expectedSeconds * sampleRate));
    }
}

TEST (PreDelayTime, FreeTimeIsInMilliseconds)
{
    for (const auto& [ms, samples] : { std::pair{ 0.0f, 0.0f }, { 500.0f, 24000.0f }, { 123.4f, 5923.0f } })
    {
        EngineParameters p;
        p.predelayFreeTime = ms;
        EngineRig rig (p);
        (void) rig.render (silence (blockSize));
        EXPECT_EQ (rig.engine->getPreDelayTargetSamples(), samples) << ms << " ms";
    }
}

TEST (PreDelayTime, SyncedPreDelayHoldsTheWetSignalBackByTheNote)
{
    // An impulse with the wet signal alone: nothing may come out before the pre-delay.
    TestPlayHead head;
    auto p = wetOnly();
    p.predelaySyncOption = 1.0f;
    p.predelayNoteTime = 12.0f; // 1/4 at 120 bpm: 0.5 s = 24000 samples
    EngineRig rig (p, sampleRate, blockSize, &head);

    auto input = silence (36000);
    input.setSample (0, 0, 1.0f);
    input.setSample (1, 0, 1.0f);
    const auto output = rig.render (input);

    EXPECT_EQ (output.getMagnitude (0, 24000), 0.0f);
    EXPECT_GT (output.getMagnitude (24000, 12000), 1.0e-4f);
}

TEST (PreDelayTime, ReturningToSyncTakesTheNoteTimeAgain)
{
    TempoSyncedTime time;
    juce::AudioPlayHead::PositionInfo position;
    position.setBpm (120.0);
    position.setTimeSignature (juce::AudioPlayHead::TimeSignature{ 4, 4 });
    const juce::Optional<juce::AudioPlayHead::PositionInfo> host (position);

    EXPECT_FLOAT_EQ (time.update (true, 12.0f, 300.0f, host), 0.5f);
    EXPECT_FLOAT_EQ (time.update (false, 12.0f, 300.0f, host), 0.3f);
    // Same note and tempo as before: still the note's time, not the free time.
    EXPECT_FLOAT_EQ (time.update (true, 12.0f, 300.0f, host), 0.5f);
}

TEST (PreDelayTime, ATempoSeenWhilePreparingRetimesASyncedDelay)
{
    TempoSyncedTime time;
    juce::AudioPlayHead::PositionInfo position;
    position.setBpm (120.0);
    position.setTimeSignature (juce::AudioPlayHead::TimeSignature{ 4, 4 });
    EXPECT_FLOAT_EQ (time.update (true, 12.0f, 0.0f, position), 0.5f);

    position.setBpm (60.0);
    time.setHostTiming (position);
    EXPECT_FLOAT_EQ (time.getSeconds(), 1.0f);
    EXPECT_FLOAT_EQ (time.update (true, 12.0f, 0.0f, position), 1.0f);

    // While free, the host timing is kept for later but does not change the free time.
    EXPECT_FLOAT_EQ (time.update (false, 12.0f, 250.0f, position), 0.25f);
    position.setBpm (30.0);
    time.setHostTiming (position);
    EXPECT_FLOAT_EQ (time.getSeconds(), 0.25f);
    EXPECT_FLOAT_EQ (time.update (true, 12.0f, 250.0f, position), 2.0f);
}

TEST (PreDelayTime, WithoutAPlayHeadTheStoredTimingStays)
{
    TempoSyncedTime time;
    // Nothing reported yet: 10 bpm in 1/1, so a quarter is a quarter of a 6 s beat.
    EXPECT_FLOAT_EQ (time.update (true, 12.0f, 0.0f, {}), 1.5f);
    EXPECT_EQ (time.getTempo(), 10.0);
}

TEST (Intervals, TableRunsFromAnOctaveDownToTwoOctavesUp)
{
    const struct
    {
        float index;
        float semitones;
    } cases[] = {
        { 0.0f, -12.0f },
        { 5.0f, -7.0f },
        { 11.0f, -1.0f },
        { 12.0f, -0.1f },
        { 13.0f, 0.0f },
        { 14.0f, 0.1f },
        { 21.0f, 7.0f },
        { 26.0f, 12.0f },
        { 27.0f, 19.0f },
        { 28.0f, 24.0f },
        { 29.0f, 0.0f },
        { 30.0f, 0.0f },
        { -1.0f, 0.0f },
        { 26.6f, 19.0f },
        { 26.4f, 12.0f },
    };

    for (const auto& c : cases)
        EXPECT_EQ (IntervalTable::semitonesFor (c.index), c.semitones) << "index " << c.index;
}

TEST (Intervals, OctavePlusFifthReachesTheBranchAsNineteenSemitones)
{
    const struct
    {
        float index;
        bool reverse;
        double ratio; // 2^(semitones/12), negative when reversed
    } cases[] = {
        { 27.0f, false, 2.9966141 },
        { 27.0f, true, -2.9966141 },
        { 26.0f, false, 2.0 },
        { 28.0f, false, 4.0 },
        { 0.0f, false, 0.5 },
        { 13.0f, true, -1.0 },
    };

    for (const auto& c : cases)
    {
        EngineParameters p;
        p.pitchNote1 = c.index;
        p.pitchShift1Reverse = c.reverse ? 1.0f : 0.0f;
        p.pitchNote2 = c.index;
        EngineRig rig (p);
        (void) rig.render (silence (blockSize));

        EXPECT_NEAR (rig.engine->getPitchBranch (0).getShifter().getRatio(), c.ratio, 1.0e-5) << "index " << c.index;
        EXPECT_NEAR (rig.engine->getPitchBranch (1).getShifter().getRatio(), std::abs (c.ratio), 1.0e-5) << "index " << c.index;
    }
}

TEST (NoteTable, KeepsFractionsAsWrittenAndFallsBackToAQuarter)
{
    EXPECT_EQ (NoteTable::fractionFor (-1.0f), (NoteTable::Fraction{ 1, 96 }));
    EXPECT_EQ (NoteTable::fractionFor (8.0f), (NoteTable::Fraction{ 2, 24 }));
    EXPECT_EQ (NoteTable::fractionFor (12.0f), (NoteTable::Fraction{ 1, 4 }));
    EXPECT_EQ (NoteTable::fractionFor (18.0f), (NoteTable::Fraction{ 1, 1 }));
    EXPECT_EQ (NoteTable::fractionFor (31.0f), (NoteTable::Fraction{ 24, 1 }));
    EXPECT_EQ (NoteTable::fractionFor (32.0f), (NoteTable::Fraction{ 1, 4 }));
    EXPECT_EQ (NoteTable::fractionFor (-2.0f), (NoteTable::Fraction{ 1, 4 }));
}
