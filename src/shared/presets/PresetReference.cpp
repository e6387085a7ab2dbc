#include "PresetReference.h"

namespace mv::pluginCore
{
void PresetReference::write (juce::XmlElement& root, const PresetsManager& manager)
{
    juce::ignoreUnused (root, manager);
}

bool PresetReference::read (const juce::XmlElement& root, PresetsManager& manager)
{
    juce::ignoreUnused (root, manager);
    return false;
}

void PresetReference::restoreDirtyFlag (const juce::XmlElement& root, PresetsManager& manager)
{
    juce::ignoreUnused (root, manager);
}
} // namespace mv::pluginCore
