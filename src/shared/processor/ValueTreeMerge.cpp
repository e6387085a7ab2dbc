#include "ValueTreeMerge.h"

#include <map>

namespace mv::pluginCore
{
namespace
{
    using ChildrenByType = std::map<juce::String, juce::Array<juce::ValueTree>>;

    ChildrenByType groupChildren (const juce::ValueTree& tree)
    {
        ChildrenByType groups;
        for (const auto& child : tree)
            groups[child.getType().toString()].add (child);
        return groups;
    }
} // namespace

void ValueTreeMerge::merge (juce::ValueTree& destination, const juce::ValueTree& source)
{
    destination.copyPropertiesFrom (source, nullptr);

    const auto destinationGroups = groupChildren (destination);
    const auto sourceGroups = groupChildren (source);

    for (const auto& [type, children] : destinationGroups)
    {
        const auto it = sourceGroups.find (type);
        const int keep = it == sourceGroups.end() ? 0 : it->second.size();

        for (int i = children.size(); --i >= keep;)
            destination.removeChild (children.getReference (i), nullptr);
    }

    for (const auto& [type, sourceChildren] : sourceGroups)
    {
        const auto it = destinationGroups.find (type);
        const int existing = it == destinationGroups.end() ? 0 : it->second.size();

        for (int i = 0; i < sourceChildren.size(); ++i)
        {
            if (i < existing)
            {
                auto child = it->second.getReference (i);
                merge (child, sourceChildren.getReference (i));
            }
            else
            {
                destination.appendChild (sourceChildren.getReference (i).createCopy(), nullptr);
            }
        }
    }
}
} // namespace mv::pluginCore
