#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Chooses the interface language and installs its translation table process-wide. */
class LocalisedStringsManager
{
public:
    /** Picks the language from the system's preferred languages. */
    LocalisedStringsManager();
    virtual ~LocalisedStringsManager() = default;

    /** Installs "en", "fr", "es" or "pt"; anything else installs English and returns false. */
    bool setLanguage (const juce::String& language);

    const juce::String& getLanguage() const noexcept { return languageCode; }

    /** Maps a preferred-language entry such as "fr-CA" or "fre" to a code setLanguage takes. */
    static juce::String languageForSystemEntry (const juce::String& preferredLanguage);

protected:
    /** Called with the requested language after a table has been installed. */
    virtual void languageChanged (const juce::String& requestedLanguage) { juce::ignoreUnused (requestedLanguage); }

private:
    juce::String languageCode{ "en" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LocalisedStringsManager)
};
} // namespace mv::pluginCore
