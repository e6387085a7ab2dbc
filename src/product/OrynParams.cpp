#include "OrynParams.h"

#include "parameters/ParamSpecialTextHelper.h"
#include "parameters/ParamTextHelpers.h"

namespace
{
using Layout = juce::AudioProcessorValueTreeState::ParameterLayout;
namespace IDs = OrynParamIDs;

constexpr int parameterVersionHint = 1;
constexpr float dbInfinityThreshold = -60.0f;
constexpr float dbMaximum = 12.0f;
constexpr float percentMaximum = 100.0f;

// Frequency-shift text thresholds, in hertz.
constexpr float wholeHertzFrom = 10.0f;
constexpr float oneDecimalFrom = 1.0f;
constexpr float zeroWithin = 0.0001f;

juce::ParameterID idFor (const char* id) { return { id, parameterVersionHint }; }

juce::NormalisableRange<float> skewedRange (float start, float end, float centre)
{
    juce::NormalisableRange<float> range (start, end);
    range.setSkewForCentre (centre);
    return range;
}

juce::AudioParameterFloatAttributes withLabel (juce::AudioParameterFloatAttributes attributes, const char* label)
{
    return attributes.withLabel (label);
}

/** Bool texts: reading gives true only for the exact "on" text. */
juce::AudioParameterBoolAttributes boolTexts (const juce::String& onText, const juce::String& offText)
{
    return juce::AudioParameterBoolAttributes()
        .withStringFromValueFunction ([onText, offText] (bool value, int)
                                      { return value ? onText : offText; })
        .withValueFromStringFunction ([onText] (const juce::String& text)
                                      { return text == onText; });
}

juce::AudioParameterIntAttributes intervalTexts()
{
    const auto names = OrynParams::getIntervalNames();
    const auto maxIndex = names.size() - 1;

    return juce::AudioParameterIntAttributes()
        .withStringFromValueFunction ([names, maxIndex] (int value, int)
                                      { return juce::isPositiveAndNotGreaterThan (value, maxIndex) ? names[value] : juce::String(); })
        .withValueFromStringFunction ([names, maxIndex] (const juce::String& text)
                                      { return juce::jmin (juce::jmax (0, names.indexOf (text)), maxIndex); });
}

juce::AudioParameterIntAttributes noteTexts()
{
    std::map<int, juce::String> texts;
    const auto& names = OrynParams::getNoteNames();
    for (int i = 0; i < names.size(); ++i)
        texts[i] = names[i];

    const mv::pluginCore::ParamSpecialTextHelper<int> helper ({ 0, OrynParams::numNotes - 1 }, 0, std::move (texts));

    return juce::AudioParameterIntAttributes()
        .withStringFromValueFunction ([helper] (int value, int maximumLength)
                                      { return helper (value, maximumLength); })
        .withValueFromStringFunction ([helper] (const juce::String& text)
                                      { return helper (text); });
}

template <typename Param, typename... Args>
void add (Layout& layout, Args&&... args)
{
    layout.add (std::make_unique<Param> (std::forward<Args> (args)...));
}
} // namespace

const juce::StringArray& OrynParams::getIntervalNames()
{
    static const juce::StringArray names{
        "-1 Oct.",
        "-Maj 7th",
        "-min 7th",
        "-Maj 6th",
        "-min 6th",
        "-5th",
        "-Tritone",
        "-4th",
        "-Maj 3rd",
        "-min 3rd",
        "-Maj 2nd",
        "-min 2nd",
        "-10 cents",
        "+0",
        "+10 cents",
        "+min 2nd",
        "+Maj 2nd",
        "+min 3rd",
        "+Maj 3rd",
        "+4th",
        "+Tritone",
        "+5th",
        "+min 6th",
        "+Maj 6th",
        "+min 7th",
        "+Maj 7th",
        "+1 Oct.",
        "Oct+5th",
        "+2 Oct."
    };
    return names;
}

const juce::StringArray& OrynParams::getNoteNames()
{
    static const juce::StringArray names{
        "1/64",
        "1/64d",
        "1/32t",
        "1/32",
        "1/32d",
        "1/16t",
        "1/16",
        "1/16d",
        "1/8t",
        "1/8",
        "1/8d",
        "1/4t",
        "1/4",
        "1/4d",
        "1/2t",
        "1/2",
        "1/2d",
        "1/1t",
        "1/1"
    };
    return names;
}

juce::String OrynParams::frequencyShiftText (float v)
{
    if (v >= wholeHertzFrom || v <= -wholeHertzFrom)
        return juce::String (juce::roundToInt (v));
    if (v >= oneDecimalFrom || v <= -oneDecimalFrom)
        return mv::pluginCore::fixedPointText (v, 1);
    if (std::abs (v) <= zeroWithin)
        return "0";
    return mv::pluginCore::fixedPointText (v, 2);
}

Layout OrynParams::createParameterLayout()
{
    using namespace mv::pluginCore;
    using Float = juce::AudioParameterFloat;
    using Int = juce::AudioParameterInt;
    using Bool = juce::AudioParameterBool;

    const auto oneDecimal = getFloatParameterAttributesWithNDecimals (1);
    const auto noDecimals = getFloatParameterAttributesWithNDecimals (0);
    const juce::NormalisableRange<float> percent (0.0f, percentMaximum);
    const auto percentText = withLabel (noDecimals, " %");
    const auto decibelText = withLabel (getFloatParameterAttributesWithInfinityText (dbInfinityThreshold), " dB");
    const juce::NormalisableRange<float> decibels (dbInfinityThreshold, dbMaximum);
    const auto intervals = intervalTexts();
    const auto enabledBypassed = boolTexts ("Enabled", "Bypassed");
    const auto reverse = boolTexts ("Reverse Enabled", "Reverse Disabled");

    Layout layout;
    add<Bool> (layout, idFor (IDs::predelaySyncOption), "Sync Pre-Delay", false, boolTexts ("Synced", "Free"));
    add<Float> (layout, idFor (IDs::predelayFreeTime), "Pre-Delay ms", skewedRange (0.0f, 500.0f, 100.0f), 0.0f, withLabel (oneDecimal, " ms"));
    add<Int> (layout, idFor (IDs::predelayNoteTime), "Pre-Delay Note", 0, numNotes - 1, 6, noteTexts());
    add<Float> (layout, idFor (IDs::feedback), "Feedback", percent, 50.0f, percentText);
    add<Float> (layout, idFor (IDs::size), "Size", percent, 80.0f, percentText);
    add<Float> (layout, idFor (IDs::diffusion), "Diffusion", percent, 100.0f, percentText);
    add<Bool> (layout, idFor (IDs::freeze), "Freeze", false, boolTexts ("Enabled", "Disabled"));
    add<Float> (layout, idFor (IDs::lowCut), "Low Cut", skewedRange (10.0f, 5000.0f, 1000.0f), 10.0f, withLabel (noDecimals, " Hz"));
    add<Float> (layout, idFor (IDs::hiCut), "High Cut", skewedRange (100.0f, 20000.0f, 5000.0f), 20000.0f, withLabel (noDecimals, " Hz"));
    add<Int> (layout, idFor (IDs::pitchNote1), "Shift I", 0, numIntervals - 1, numIntervals - 3, intervals);
    add<Float> (layout, idFor (IDs::pitchShift1Gain), "Shift I Level", percent, 90.0f, percentText);
    add<Bool> (layout, idFor (IDs::pitchShift1Reverse), "Shift I Reverse", false, reverse);
    add<Int> (layout, idFor (IDs::pitchNote2), "Shift II", 0, numIntervals - 1, numIntervals - 1, intervals);
    add<Float> (layout, idFor (IDs::pitchShift2Gain), "Shift II Level", percent, 75.0f, percentText);
    add<Bool> (layout, idFor (IDs::pitchShift2Reverse), "Shift II Reverse", false, reverse);
    add<Float> (layout, idFor (IDs::freqShiftFreq), "Shift III", skewedRange (-100.0f, 2000.0f, 0.0f), 0.0f, juce::AudioParameterFloatAttributes().withLabel (" Hz").withStringFromValueFunction ([] (float v, int)
                                                                                                                                                                                                  { return frequencyShiftText (v); }));
    add<Bool> (layout, idFor (IDs::freqShiftReverse), "Shift III Reverse", false, reverse);
    add<Float> (layout, idFor (IDs::freqShiftGain), "Shift III Level", percent, 0.0f, percentText);
    add<Float> (layout, idFor (IDs::width), "Width", percent, 100.0f, percentText);
    add<Float> (layout, idFor (IDs::mod), "Mod", percent, 50.0f, percentText);
    add<Float> (layout, idFor (IDs::dry), "dry", decibels, -6.0f, decibelText);
    add<Float> (layout, idFor (IDs::wet), "wet", decibels, -6.0f, decibelText);
    add<Bool> (layout, idFor (IDs::dryEnabled), "Enable Dry Signal", true, enabledBypassed);
    add<Bool> (layout, idFor (IDs::wetEnabled), "Enable Wet Signal", true, enabledBypassed);
    return layout;
}
