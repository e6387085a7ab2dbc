#include "PluginLoader.h"

juce::File PluginLoader::defaultBundle()
{
    return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".vst3/Oryn.vst3");
}

bool PluginLoader::describe (const juce::File& bundle, juce::PluginDescription& description, juce::String& error)
{
    if (! bundle.exists())
    {
        error = "no plug-in bundle at " + bundle.getFullPathName();
        return false;
    }

    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, bundle.getFullPathName());

    if (found.isEmpty())
    {
        error = "no VST3 plug-in could be loaded from " + bundle.getFullPathName();
        return false;
    }

    description = *found.getFirst();
    return true;
}

std::unique_ptr<juce::AudioPluginInstance> PluginLoader::load (const juce::File& bundle,
                                                               double sampleRate,
                                                               int blockSize,
                                                               juce::String& error)
{
    juce::PluginDescription description;
    if (! describe (bundle, description, error))
        return nullptr;

    juce::VST3PluginFormat format;
    auto instance = format.createInstanceFromDescription (description, sampleRate, blockSize, error);

    if (instance == nullptr && error.isEmpty())
        error = "the plug-in in " + bundle.getFullPathName() + " could not be instantiated";

    return instance;
}
