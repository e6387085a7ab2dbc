#pragma once

#include "ParamTextHelpers.h"

#include <map>

namespace mv::pluginCore
{
/** Value text for a numeric parameter where some values have names of their own.

    Names are shown but not read back: typed text is read as a number.
*/
template <typename ValueType>
class ParamSpecialTextHelper
{
public:
    ParamSpecialTextHelper (juce::Range<ValueType> valueRange, int numDecimals, std::map<ValueType, juce::String> specialTexts)
        : range (valueRange), decimals (numDecimals), texts (std::move (specialTexts))
    {
    }

    juce::String operator() (ValueType value, int maximumLength) const
    {
        if (const auto it = texts.find (value); it != texts.end() && it->second.isNotEmpty())
            return it->second;

        if (decimals != 0)
            return fixedPointText ((float) value, maximumLength <= 0 ? decimals : juce::jmin (maximumLength, decimals));

        return juce::String ((juce::int64) value);
    }

    ValueType operator() (const juce::String& text) const
    {
        const auto number = readNumber (text);

        // Limiting before truncating keeps absurd input ("1e30", "nan") defined; the
        // parameter clamps into the same range afterwards anyway.
        if (std::isnan (number))
            return range.getStart();

        const auto limited = juce::jlimit ((float) range.getStart(), (float) range.getEnd(), number);

        // Truncation toward zero is the rule: 12.9 selects 12.
        return static_cast<ValueType> (limited);
    }

    juce::Range<ValueType> getRange() const noexcept { return range; }

private:
    juce::Range<ValueType> range;
    int decimals;
    std::map<ValueType, juce::String> texts;
};
} // namespace mv::pluginCore
