#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Writes a preset file: the framework's default XML text format (declaration, CR LF,
    indented, attributes wrapped at 60 columns), replacing the target as a whole. */
struct PresetFileWriter
{
    /** The text goes to a hidden temporary file next to the target, which is then moved
        over it, so a failed write never leaves a half-written preset. */
    static bool write (const juce::XmlElement& state, const juce::File& target);

    /** The exact text write() stores. */
    static juce::String toText (const juce::XmlElement& state);
};
} // namespace mv::pluginCore
