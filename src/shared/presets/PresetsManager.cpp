#include "PresetsManager.h"

namespace mv::pluginCore
{
PresetsManager::PresetsManager (PluginProcessor& owner, const PresetLocations& presetLocations)
    : processor (owner), locations (presetLocations)
{
}

void PresetsManager::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void PresetsManager::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

template <typename Callback>
void PresetsManager::callListeners (Callback&& callback)
{
    // Most recent first; a listener may remove itself during its callback.
    for (int i = listeners.size(); --i >= 0;)
    {
        callback (*listeners.getUnchecked (i));
        i = juce::jmin (i, listeners.size());
    }
}

void PresetsManager::markDirty()
{
    if (dirty)
        return;

    dirty = true;
    callListeners ([this] (Listener& l)
                   { l.presetDirtyChanged (*this, true); });
}

void PresetsManager::setDirty (bool shouldBeDirty)
{
    if (dirty == shouldBeDirty)
        return;

    dirty = shouldBeDirty;
    callListeners ([this, shouldBeDirty] (Listener& l)
                   { l.presetDirtyChanged (*this, shouldBeDirty); });
}
} // namespace mv::pluginCore
