#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Where a product keeps its presets; handed from the product to the processor base. */
struct PresetLocations
{
    juce::File factoryFolder;
    juce::File userFolder;
    juce::File designerFolder;
    juce::File initPresetFile;
    juce::String extension;
};
} // namespace mv::pluginCore
