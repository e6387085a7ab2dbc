#include "SharedSettings.h"

namespace mv::pluginCore
{
namespace
{
    struct SharedState
    {
        // juce::SpinLock::enter tries 20 times in a row, then yields between attempts.
        juce::SpinLock lock;
        SharedSettings* instance = nullptr;
        int holders = 0;
        std::atomic<int> creations{ 0 };
    };

    SharedState& sharedState()
    {
        static SharedState state;
        return state;
    }

    /** Saves only when told to. The framework's own save timer would fire on the message
        thread, while the last holder may be a host's background thread destroying the file. */
    class ExplicitlySavedPropertiesFile final : public juce::PropertiesFile
    {
    public:
        using juce::PropertiesFile::PropertiesFile;

    protected:
        void propertyChanged() override { setNeedsToBeSaved (true); }
    };

    juce::PropertiesFile::Options makeOptions()
    {
        juce::PropertiesFile::Options options;
        options.applicationName = SharedSettings::applicationName;
        options.folderName = SharedSettings::folderName;
        options.filenameSuffix = SharedSettings::fileSuffix;
        options.osxLibrarySubFolder = "Application Support";
        options.commonToAllUsers = false;
        options.ignoreCaseOfKeyNames = false;
        options.doNotSave = false;
        options.millisecondsBeforeSaving = SharedSettings::millisecondsBeforeSaving;
        options.storageFormat = juce::PropertiesFile::storeAsXML;
        options.processLock = nullptr;
        return options;
    }
} // namespace

SharedSettings* SharedSettings::acquireSettings()
{
    auto& state = sharedState();
    const juce::SpinLock::ScopedLockType sl (state.lock);

    if (state.holders++ == 0)
    {
        state.instance = new SharedSettings();
        ++state.creations;
    }

    return state.instance;
}

void SharedSettings::releaseSettings()
{
    auto& state = sharedState();
    const juce::SpinLock::ScopedLockType sl (state.lock);

    // An unbalanced release must not destroy an object that someone else still holds.
    if (state.holders == 0)
        return;

    if (--state.holders == 0)
    {
        state.instance->save();
        delete state.instance;
        state.instance = nullptr;
    }
}

int SharedSettings::getCreationCount() noexcept
{
    return sharedState().creations.load();
}

juce::File SharedSettings::getSettingsFile()
{
#if JUCE_LINUX || JUCE_BSD
    // The framework would put the folder straight into the home folder; the XDG rules want
    // $XDG_CONFIG_HOME, ignoring a relative value.
    auto configHome = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    if (! juce::File::isAbsolutePath (configHome))
        configHome = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config").getFullPathName();

    return juce::File (configHome).getChildFile (folderName).getChildFile (juce::String (applicationName) + "." + fileSuffix);
#else
    return makeOptions().getDefaultFile();
#endif
}

SharedSettings::SharedSettings()
    : file (std::make_unique<ExplicitlySavedPropertiesFile> (getSettingsFile(), makeOptions())),
      tree (treeType)
{
    // An unreadable or foreign file leaves the property empty, so the tree stays empty.
    if (auto xml = juce::parseXML (file->getValue (settingsProperty)))
    {
        auto loaded = juce::ValueTree::fromXml (*xml);
        if (loaded.hasType (treeType))
            tree = loaded;
    }
}

SharedSettings::~SharedSettings() = default;

void SharedSettings::save()
{
    const auto text = tree.toXmlString();
    if (text != file->getValue (settingsProperty))
        file->setValue (settingsProperty, text);

    // A failed write is not reported: the changes are lost.
    (void) file->saveIfNeeded();
}

juce::String SharedSettings::getValue (const juce::Identifier& key, const juce::String& defaultValue) const
{
    return tree.getProperty (key, defaultValue).toString();
}

void SharedSettings::setValue (const juce::Identifier& key, const juce::String& value)
{
    tree.setProperty (key, value, nullptr);
}
} // namespace mv::pluginCore
