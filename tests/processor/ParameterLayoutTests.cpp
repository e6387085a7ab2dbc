#include "OrynAudioProcessor.h"
#include "OrynParamIDs.h"

#include <gtest/gtest.h>

namespace
{
enum class Kind
{
    boolean,
    integer,
    floating
};

struct Expected
{
    const char* id;
    const char* name;
    Kind kind;
    float start, end, defaultValue;
    float middle; // plain value at the middle of the normalised range
    const char* label;
    int steps; // number of values a discrete parameter takes
};

constexpr float noMiddle = std::numeric_limits<float>::quiet_NaN();

// The host-facing parameter table, written out independently of the layout code.
const Expected expected[] = {
    { "predelaySyncOption", "Sync Pre-Delay", Kind::boolean, 0, 1, 0, noMiddle, "", 2 },
    { "predelayFreeTime", "Pre-Delay ms", Kind::floating, 0, 500, 0, 100, " ms", 0 },
    { "predelayNoteTime", "Pre-Delay Note", Kind::integer, 0, 18, 6, noMiddle, "", 19 },
    { "feedback", "Feedback", Kind::floating, 0, 100, 50, 50, " %", 0 },
    { "size", "Size", Kind::floating, 0, 100, 80, 50, " %", 0 },
    { "diffusion", "Diffusion", Kind::floating, 0, 100, 100, 50, " %", 0 },
    { "freeze", "Freeze", Kind::boolean, 0, 1, 0, noMiddle, "", 2 },
    { "lowCut", "Low Cut", Kind::floating, 10, 5000, 10, 1000, " Hz", 0 },
    { "hiCut", "High Cut", Kind::floating, 100, 20000, 20000, 5000, " Hz", 0 },
    { "pitchNote1", "Shift I", Kind::integer, 0, 28, 26, noMiddle, "", 29 },
    { "pitchShift1Gain", "Shift I Level", Kind::floating, 0, 100, 90, 50, " %", 0 },
    { "pitchShift1Reverse", "Shift I Reverse", Kind::boolean, 0, 1, 0, noMiddle, "", 2 },
    { "pitchNote2", "Shift II", Kind::integer, 0, 28, 28, noMiddle, "", 29 },
    { "pitchShift2Gain", "Shift II Level", Kind::floating, 0, 100, 75, 50, " %", 0 },
    { "pitchShift2Reverse", "Shift II Reverse", Kind::boolean, 0, 1, 0, noMiddle, "", 2 },
    { "freqShiftFreq", "Shift III", Kind::floating, -100, 2000, 0, 0, " Hz", 0 },
    { "freqShiftReverse", "Shift III Reverse", Kind::boolean, 0, 1, 0, noMiddle, "", 2 },
    { "freqShiftGain", "Shift III Level", Kind::floating, 0, 100, 0, 50, " %", 0 },
    { "width", "Width", Kind::floating, 0, 100, 100, 50, " %", 0 },
    { "mod", "Mod", Kind::floating, 0, 100, 50, 50, " %", 0 },
    { "dry", "dry", Kind::floating, -60, 12, -6, -24, " dB", 0 },
    { "wet", "wet", Kind::floating, -60, 12, -6, -24, " dB", 0 },
    { "dryEnabled", "Enable Dry Signal", Kind::boolean, 0, 1, 1, noMiddle, "", 2 },
    { "wetEnabled", "Enable Wet Signal", Kind::boolean, 0, 1, 1, noMiddle, "", 2 },
};

// Skews are computed in single precision; the middle lands within float rounding.
constexpr float middleTolerance = 1.0e-3f;
constexpr float defaultTolerance = 1.0e-4f;
} // namespace

TEST (ParameterLayout, MatchesTheHostTableInOrder)
{
    OrynAudioProcessor processor;
    const auto& parameters = processor.getParameters();
    ASSERT_EQ (parameters.size(), (int) std::size (expected));

    for (size_t i = 0; i < std::size (expected); ++i)
    {
        const auto& e = expected[i];
        SCOPED_TRACE (e.id);

        auto* p = dynamic_cast<juce::RangedAudioParameter*> (parameters[(int) i]);
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->paramID, juce::String (e.id));
        EXPECT_EQ (p->getName (100), juce::String (e.name));
        EXPECT_EQ (p->getLabel(), juce::String (e.label));
        EXPECT_EQ (juce::String (OrynParamIDs::all[i]), juce::String (e.id));

        const auto& range = p->getNormalisableRange();
        EXPECT_FLOAT_EQ (range.start, e.start);
        EXPECT_FLOAT_EQ (range.end, e.end);
        // Defaults pass through the normalised (skewed) range, so allow its rounding.
        EXPECT_NEAR (p->convertFrom0to1 (p->getDefaultValue()), e.defaultValue, defaultTolerance);
        EXPECT_NEAR (p->convertFrom0to1 (p->getValue()), e.defaultValue, defaultTolerance);
        EXPECT_TRUE (p->isAutomatable());
        EXPECT_FALSE (p->isMetaParameter());

        switch (e.kind)
        {
            case Kind::boolean:
                EXPECT_NE (dynamic_cast<juce::AudioParameterBool*> (p), nullptr);
                break;
            case Kind::integer:
                EXPECT_NE (dynamic_cast<juce::AudioParameterInt*> (p), nullptr);
                EXPECT_EQ (p->getNumSteps(), e.steps);
                break;
            case Kind::floating:
                EXPECT_NE (dynamic_cast<juce::AudioParameterFloat*> (p), nullptr);
                EXPECT_FLOAT_EQ (range.interval, 0.0f);
                EXPECT_FALSE (range.symmetricSkew);
                EXPECT_NEAR (p->convertFrom0to1 (0.5f), e.middle, middleTolerance * (e.end - e.start));
                break;
        }
    }
}

TEST (ParameterLayout, SkewFactorsAreThoseThatCentreTheMiddleValue)
{
    const std::pair<const char*, float> skews[] = {
        { "predelayFreeTime", 0.43067655f },
        { "lowCut", 0.42853358f },
        { "hiCut", 0.49458072f },
        { "freqShiftFreq", 0.22767024f },
        { "feedback", 1.0f },
        { "dry", 1.0f },
    };

    OrynAudioProcessor processor;
    for (const auto& [id, skew] : skews)
    {
        SCOPED_TRACE (id);
        auto* p = processor.getParameterState().getParameter (id);
        ASSERT_NE (p, nullptr);
        EXPECT_FLOAT_EQ (p->getNormalisableRange().skew, skew);
    }
}
