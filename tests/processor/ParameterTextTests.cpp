#include "OrynAudioProcessor.h"
#include "OrynParams.h"

#include <gtest/gtest.h>

namespace
{
constexpr int hostTextLength = 1024;
constexpr float valueTolerance = 1.0e-3f;

class ParameterText : public ::testing::Test
{
protected:
    juce::RangedAudioParameter& param (const char* id)
    {
        auto* p = processor.getParameterState().getParameter (id);
        EXPECT_NE (p, nullptr) << id;
        return *p;
    }

    juce::String textFor (const char* id, float plainValue, int maximumLength = hostTextLength)
    {
        auto& p = param (id);
        return p.getText (p.convertTo0to1 (plainValue), maximumLength);
    }

    float valueFor (const char* id, const juce::String& text)
    {
        auto& p = param (id);
        return p.convertFrom0to1 (p.getValueForText (text));
    }

    OrynAudioProcessor processor;
};

struct TextCase
{
    const char* id;
    float value;
    const char* text;
};

struct ReadCase
{
    const char* id;
    const char* text;
    float value;
};
} // namespace

TEST_F (ParameterText, ValuesShowTheirTexts)
{
    const TextCase cases[] = {
        { "predelayFreeTime", 12.5f, "12.5" },
        { "predelayFreeTime", 0.0f, "0.0" },
        { "feedback", 50.0f, "50" },
        { "feedback", 49.5f, "50" }, // halfway cases go to the even integer
        { "feedback", 50.5f, "50" },
        { "lowCut", 1000.0f, "1000" },
        { "dry", -60.0f, "-inf" },
        { "dry", -59.95f, "-60.0" },
        { "dry", -6.0f, "-6.0" },
        { "dry", 0.0f, "0" },
        { "wet", 12.0f, "12.0" },
        { "freqShiftFreq", -100.0f, "-100" },
        { "freqShiftFreq", 12.4f, "12" },
        { "freqShiftFreq", 0.0f, "0" },
        { "predelaySyncOption", 1.0f, "Synced" },
        { "predelaySyncOption", 0.0f, "Free" },
        { "freeze", 1.0f, "Enabled" },
        { "freeze", 0.0f, "Disabled" },
        { "pitchShift1Reverse", 1.0f, "Reverse Enabled" },
        { "freqShiftReverse", 0.0f, "Reverse Disabled" },
        { "dryEnabled", 1.0f, "Enabled" },
        { "wetEnabled", 0.0f, "Bypassed" },
        { "pitchNote1", 26.0f, "+1 Oct." },
        { "pitchNote1", 27.0f, "Oct+5th" },
        { "pitchNote2", 0.0f, "-1 Oct." },
        { "pitchNote2", 12.0f, "-10 cents" },
        { "pitchNote2", 13.0f, "+0" },
        { "predelayNoteTime", 0.0f, "1/64" },
        { "predelayNoteTime", 6.0f, "1/16" },
        { "predelayNoteTime", 10.0f, "1/8d" },
        { "predelayNoteTime", 17.0f, "1/1t" },
        { "predelayNoteTime", 18.0f, "1/1" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (textFor (c.id, c.value), juce::String (c.text)) << c.id << " at " << c.value;
}

TEST (FrequencyShiftText, PrecisionFollowsTheMagnitude)
{
    // Exact plain values: the host path goes through the skewed normalised range.
    const std::pair<float, const char*> cases[] = {
        { 10.0f, "10" },
        { -10.0f, "-10" },
        { 9.96f, "10.0" },
        { 5.4f, "5.4" },
        { -1.0f, "-1.0" },
        { 0.5f, "0.50" },
        { 0.25f, "0.25" },
        { -0.99f, "-0.99" },
        { 0.0001f, "0" },
        { -0.00005f, "0" },
        { 1999.6f, "2000" },
    };

    for (const auto& [value, text] : cases)
        EXPECT_EQ (OrynParams::frequencyShiftText (value), juce::String (text)) << value;
}

TEST_F (ParameterText, TextsDoNotDependOnTheRequestedLength)
{
    for (const auto length : { 0, 1, 2, 3, 8 })
    {
        EXPECT_EQ (textFor ("predelayFreeTime", 12.5f, length), "12.5") << length;
        EXPECT_EQ (textFor ("pitchShift2Reverse", 1.0f, length), "Reverse Enabled") << length;
        EXPECT_EQ (textFor ("predelayNoteTime", 12.0f, length), "1/4") << length;
    }
}

TEST_F (ParameterText, TypedTextsGiveTheirValues)
{
    const ReadCase cases[] = {
        { "dry", "-inf", -60.0f },
        { "dry", "-100", -60.0f },
        { "dry", "3", 3.0f },
        { "feedback", "75 %", 75.0f },
        { "feedback", "75", 75.0f },
        { "feedback", "abc", 0.0f },
        { "predelayFreeTime", "250 ms", 250.0f },
        { "predelayFreeTime", "1e999", 500.0f },
        { "freqShiftFreq", "-20", -20.0f },
        { "predelaySyncOption", "Synced", 1.0f },
        { "predelaySyncOption", "synced", 0.0f },
        { "predelaySyncOption", "Free", 0.0f },
        { "freeze", "Enabled", 1.0f },
        { "dryEnabled", "Bypassed", 0.0f },
        { "pitchShift1Reverse", "Reverse Enabled", 1.0f },
        { "pitchNote1", "+5th", 21.0f },
        { "pitchNote1", "+5TH", 0.0f },
        { "pitchNote1", "7", 0.0f },
        { "pitchNote1", "Oct+5th", 27.0f },
        { "pitchNote2", "+2 Oct.", 28.0f },
        { "predelayNoteTime", "12.9", 12.0f },
        { "predelayNoteTime", "40", 18.0f },
        { "predelayNoteTime", "1/4", 1.0f },
        { "predelayNoteTime", "-3", 0.0f },
        { "predelayNoteTime", "nan", 0.0f },
    };

    for (const auto& c : cases)
        EXPECT_NEAR (valueFor (c.id, c.text), c.value, valueTolerance) << c.id << " typed as " << c.text;
}

TEST (IntervalNames, ListHas29EntriesWithTheOctaveAndFifthUnsigned)
{
    const auto& names = OrynParams::getIntervalNames();
    ASSERT_EQ (names.size(), 29);
    EXPECT_EQ (names[27], "Oct+5th");
    EXPECT_EQ (names[28], "+2 Oct.");
    EXPECT_EQ (OrynParams::getNoteNames().size(), 19);
}
