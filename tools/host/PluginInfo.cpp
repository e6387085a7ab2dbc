#include "PluginInfo.h"

namespace
{
constexpr int textLength = 64;
} // namespace

std::vector<PluginInfo::LayoutCheck> PluginInfo::layoutsToCheck()
{
    using Set = juce::AudioChannelSet;
    return {
        { "stereo -> stereo", Set::stereo(), Set::stereo() },
        { "mono -> stereo", Set::mono(), Set::stereo() },
        { "mono -> mono", Set::mono(), Set::mono() },
        { "stereo -> mono", Set::stereo(), Set::mono() },
        { "5.1 -> stereo", Set::create5point1(), Set::stereo() },
        { "stereo -> 5.1", Set::stereo(), Set::create5point1() },
    };
}

bool PluginInfo::supportsLayout (juce::AudioPluginInstance& instance, const LayoutCheck& layout)
{
    juce::AudioProcessor::BusesLayout buses;
    buses.inputBuses.add (layout.input);
    buses.outputBuses.add (layout.output);
    return instance.checkBusesLayoutSupported (buses);
}

juce::String PluginInfo::describe (const juce::PluginDescription& description, juce::AudioPluginInstance& instance)
{
    juce::String text;
    text << "Name:         " << description.name << "\n"
         << "Manufacturer: " << description.manufacturerName << "\n"
         << "Version:      " << description.version << "\n"
         << "Category:     " << description.category << "\n"
         << "Format:       " << description.pluginFormatName << "\n"
         << "File:         " << description.fileOrIdentifier << "\n";

    text << "Bus layouts:\n";
    for (const auto& layout : layoutsToCheck())
        text << "  " << layout.name.paddedRight (' ', 18) << (supportsLayout (instance, layout) ? "accepted" : "refused") << "\n";

    const auto& parameters = instance.getParameters();
    text << "Parameters (" << parameters.size() << "):\n";

    for (auto* p : parameters)
    {
        text << "  " << juce::String (p->getParameterIndex() + 1).paddedLeft (' ', 2) << "  "
             << p->getName (textLength).quoted().paddedRight (' ', 22)
             << " label " << p->getLabel().quoted().paddedRight (' ', 7)
             << " default " << p->getText (p->getDefaultValue(), textLength).quoted().paddedRight (' ', 20)
             << " current " << p->getCurrentValueAsText().quoted() << "\n";
    }

    const auto tail = instance.getTailLengthSeconds();
    text << "Tail length:  " << (std::isinf (tail) ? juce::String ("infinite") : juce::String (tail) + " s") << "\n";
    return text;
}
