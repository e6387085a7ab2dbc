#include "LocalisedStringsManager.h"

namespace mv::pluginCore
{
LocalisedStringsManager::LocalisedStringsManager()
{
    setLanguage (languageForSystemEntry (juce::SystemStats::getUserLanguage()));
}

juce::String LocalisedStringsManager::languageForSystemEntry (const juce::String& preferredLanguage)
{
    const auto prefix = preferredLanguage.upToFirstOccurrenceOf ("-", false, false);

    if (prefix == "en" || prefix == "eng")
        return "en";
    if (prefix == "fr" || prefix == "fre")
        return "fr";
    if (prefix == "es" || prefix == "spa")
        return "es";
    if (prefix == "pt" || prefix == "por")
        return "pt";

    return preferredLanguage;
}

bool LocalisedStringsManager::setLanguage (const juce::String& language)
{
    const bool known = language == "en" || language == "fr" || language == "es" || language == "pt";
    languageCode = known ? language : juce::String ("en");
    languageChanged (language);
    return known;
}
} // namespace mv::pluginCore
