#include "NaturalOrder.h"

namespace mv::pluginCore
{
namespace
{
    using Pointer = juce::String::CharPointerType;

    bool isDigit (juce::juce_wchar c) noexcept { return c >= '0' && c <= '9'; }

    /** Compares the digit runs at a and b by value and moves both past them. Works on the
        digits themselves, so runs of any length compare without overflow. */
    int compareNumbers (Pointer& a, Pointer& b) noexcept
    {
        while (*a == '0' && isDigit (a[1]))
            ++a;
        while (*b == '0' && isDigit (b[1]))
            ++b;

        int firstDifference = 0;

        for (;;)
        {
            const bool aDigit = isDigit (*a), bDigit = isDigit (*b);

            if (! aDigit || ! bDigit)
            {
                if (aDigit != bDigit)
                    return aDigit ? 1 : -1; // the longer number is larger

                return firstDifference;
            }

            if (firstDifference == 0 && *a != *b)
                firstDifference = *a < *b ? -1 : 1;

            ++a;
            ++b;
        }
    }
} // namespace

int NaturalOrder::compare (const juce::String& first, const juce::String& second)
{
    auto a = first.getCharPointer();
    auto b = second.getCharPointer();

    for (;;)
    {
        if (isDigit (*a) && isDigit (*b))
        {
            if (const auto result = compareNumbers (a, b); result != 0)
                return result;
            continue;
        }

        const auto ca = juce::CharacterFunctions::toLowerCase (*a);
        const auto cb = juce::CharacterFunctions::toLowerCase (*b);

        if (ca != cb)
            return ca < cb ? -1 : 1;

        if (ca == 0)
            break;

        ++a;
        ++b;
    }

    // Equal apart from case or leading zeros.
    return first.compare (second);
}
} // namespace mv::pluginCore
