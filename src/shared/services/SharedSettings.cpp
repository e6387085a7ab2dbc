#include "SharedSettings.h"

namespace mv::pluginCore
{
namespace
{
    const juce::Identifier settingsType{ "settings" };
    constexpr const char* settingsProperty = "settings";

    struct SharedState
    {
        juce::SpinLock lock;
        SharedSettings* instance = nullptr;
        int holders = 0;
    };

    SharedState& sharedState()
    {
        static SharedState state;
        return state;
    }
} // namespace

SharedSettings* SharedSettings::acquireSettings()
{
    auto& state = sharedState();
    const juce::SpinLock::ScopedLockType sl (state.lock);

    if (state.holders++ == 0)
        state.instance = new SharedSettings();

    return state.instance;
}

void SharedSettings::releaseSettings()
{
    auto& state = sharedState();
    const juce::SpinLock::ScopedLockType sl (state.lock);

    if (state.holders == 0)
        return;

    if (--state.holders == 0)
    {
        state.instance->save();
        delete state.instance;
        state.instance = nullptr;
    }
}

SharedSettings::SharedSettings() : tree (settingsType)
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Oryn";
    options.filenameSuffix = "settings";
    options.osxLibrarySubFolder = "Application Support";
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.doNotSave = false;
    options.millisecondsBeforeSaving = 10;
    options.storageFormat = juce::PropertiesFile::storeAsXML;

    auto configHome = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    if (! juce::File::isAbsolutePath (configHome))
        configHome = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config").getFullPathName();

    file = std::make_unique<juce::PropertiesFile> (juce::File (configHome).getChildFile ("Morvak/Oryn/Oryn.settings"), options);

    if (auto xml = juce::parseXML (file->getValue (settingsProperty)))
        tree = juce::ValueTree::fromXml (*xml);

    if (! tree.isValid())
        tree = juce::ValueTree (settingsType);
}

SharedSettings::~SharedSettings() = default;

void SharedSettings::save()
{
    const auto text = tree.toXmlString();
    if (text != file->getValue (settingsProperty))
        file->setValue (settingsProperty, text);

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
