#pragma once

#include <juce_core/juce_core.h>

/** The designed factory presets: each a folder, a name and the parameters that differ
    from their defaults (plain values in the parameters' own units). */
struct FactoryPresetTable
{
    struct Preset
    {
        const char* folder;
        const char* name;
        std::vector<std::pair<const char*, float>> values;
    };

    static const std::vector<Preset>& getPresets();
};
