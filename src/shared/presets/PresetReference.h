#pragma once

#include "PresetsManager.h"

namespace mv::pluginCore
{
/** The current preset as a host state remembers it: category, relative path, dirty flag. */
struct PresetReference
{
    /** Appends the reference to an outgoing state when there is a current preset. */
    static void write (juce::XmlElement& root, const PresetsManager& manager);

    /** Reads the reference before the state's values are applied. Returns true when the
        state carried a reference whose dirty flag must be restored afterwards. */
    static bool read (const juce::XmlElement& root, PresetsManager& manager);

    /** Restores the stored dirty flag, after the values were applied. */
    static void restoreDirtyFlag (const juce::XmlElement& root, PresetsManager& manager);
};
} // namespace mv::pluginCore
