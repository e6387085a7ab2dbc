#include "PresetReference.h"

#include "PresetFolders.h"

namespace mv::pluginCore
{
namespace
{
    const juce::XmlElement* findReferenceElement (const juce::XmlElement& root)
    {
        for (auto* child : root.getChildIterator())
            if (child->getTagName().equalsIgnoreCase (PresetReference::elementTag))
                return child;
        return nullptr;
    }

    juce::File folderForCategory (const juce::String& category, const PresetsManager& manager)
    {
        if (category == PresetReference::factoryCategory)
            return manager.getFactoryFolder();
        if (category == PresetReference::userCategory)
            return manager.getUserFolder();
        if (category == PresetReference::designerCategory)
            return manager.getDesignerFolder();
        return {};
    }
} // namespace

void PresetReference::write (juce::XmlElement& root, const PresetsManager& manager)
{
    const auto& file = manager.getCurrentPresetFile();
    if (file.getFullPathName().isEmpty())
        return;

    auto* element = root.createNewChildElement (elementTag);

    const std::pair<const char*, juce::File> categories[] = {
        { factoryCategory, manager.getFactoryFolder() },
        { userCategory, manager.getUserFolder() },
        { designerCategory, manager.getDesignerFolder() },
    };

    juce::String relativePath;

    for (const auto& [category, folder] : categories)
    {
        if (folder != juce::File() && file.isAChildOf (folder))
        {
            element->setAttribute (rootAttribute, category);
            relativePath = file.getRelativePathFrom (folder).replaceCharacter ('\\', '/');
            break;
        }
    }

    element->setAttribute (pathAttribute, relativePath);
    element->setAttribute (dirtyAttribute, manager.isDirty() ? "1" : "0");
}

bool PresetReference::read (const juce::XmlElement& root, PresetsManager& manager)
{
    if (const auto* element = findReferenceElement (root))
    {
        // A reference naming no category, or leading out of its folder, leaves the
        // current preset as it was.
        const auto folder = folderForCategory (element->getStringAttribute (rootAttribute), manager);

        if (folder != juce::File())
        {
            const auto path = element->getStringAttribute (pathAttribute).replaceCharacter ('\\', '/');
            const auto file = folder.getChildFile (path);

            if (file.isAChildOf (folder))
                manager.setCurrentPresetFile (file);
        }

        return true;
    }

    const auto olderPath = root.getStringAttribute (olderAttribute);
    if (olderPath.isNotEmpty())
    {
        const auto file = resolveOlderPath (olderPath);
        if (file != juce::File())
            manager.loadPreset (file);
    }

    return false;
}

void PresetReference::restoreDirtyFlag (const juce::XmlElement& root, PresetsManager& manager)
{
    if (const auto* element = findReferenceElement (root))
        manager.setDirty (element->getBoolAttribute (dirtyAttribute, false));
}

juce::File PresetReference::resolveOlderPath (const juce::String& storedPath)
{
    auto path = storedPath.replaceCharacter ('\\', '/');

    if (path.contains (windowsCommonMarker))
        return PresetFolders::getCommonMakerFolder (makerName).getChildFile (path.fromFirstOccurrenceOf (windowsCommonMarker, false, false));

    if (path.contains (windowsUserMarker))
        return PresetFolders::getUserMakerFolder (makerName).getChildFile (path.fromFirstOccurrenceOf (windowsUserMarker, false, false));

    // Only an absolute path names a file; a relative one would depend on the host's
    // working folder.
    if (path.startsWithChar ('~') || path.startsWithChar ('/'))
        return juce::File (path);

    return {};
}
} // namespace mv::pluginCore
