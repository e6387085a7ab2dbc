#include "ParamTextHelpers.h"

namespace mv::pluginCore
{
namespace
{
    constexpr float zeroTolerance = 1.0e-8f;
    constexpr int infinityTextDecimals = 1;
} // namespace

float readNumber (const juce::String& text)
{
    return text.getFloatValue();
}

juce::String fixedPointText (float value, int decimals)
{
    return juce::String (value, decimals);
}

juce::AudioParameterFloatAttributes getFloatParameterAttributesWithNDecimals (int decimals)
{
    return juce::AudioParameterFloatAttributes()
        .withStringFromValueFunction ([decimals] (float value, int maximumLength)
                                      {
            if (decimals == 0)
                return juce::String (juce::roundToInt (value));

            const auto shown = (maximumLength > 0 && maximumLength < decimals) ? maximumLength : decimals;
            return fixedPointText (value, shown); })
        .withValueFromStringFunction ([] (const juce::String& text)
                                      { return readNumber (text); });
}

juce::AudioParameterFloatAttributes getFloatParameterAttributesWithInfinityText (float threshold)
{
    return juce::AudioParameterFloatAttributes()
        .withStringFromValueFunction ([threshold] (float value, int)
                                      {
            if (value <= threshold)
                return juce::String ("-inf");
            if (std::abs (value) <= zeroTolerance)
                return juce::String ("0");
            return fixedPointText (value, infinityTextDecimals); })
        .withValueFromStringFunction ([] (const juce::String& text)
                                      { return readNumber (text); });
}
} // namespace mv::pluginCore
