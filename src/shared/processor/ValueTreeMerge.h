#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace mv::pluginCore
{
/** Makes a tree equal to another while keeping the destination objects (and their
    listeners): properties are replaced, children matched by type and position. */
struct ValueTreeMerge
{
    static void merge (juce::ValueTree& destination, const juce::ValueTree& source);
};
} // namespace mv::pluginCore
