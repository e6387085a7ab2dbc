#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Chooses the interface language and installs its translation table process-wide.

    The table matches keys exactly and falls back to a copy that ignores letter case.
*/
class LocalisedStringsManager
{
public:
    /** Picks the language from the first of the user's preferred languages. */
    LocalisedStringsManager();
    virtual ~LocalisedStringsManager() = default;

    /** Installs "en", "fr", "es" or "pt"; anything else installs English and returns false. */
    bool setLanguage (const juce::String& language);

    const juce::String& getLanguage() const noexcept { return languageCode; }

    /** Maps a preferred-language entry such as "fr-CA" or "fre" to a code setLanguage takes;
        an entry it does not know is returned unchanged. */
    static juce::String languageForSystemEntry (const juce::String& preferredLanguage);

    /** The embedded translation file of a code, English for an unknown one. */
    static juce::String getTranslationText (const juce::String& language);

    /** Where the preferred languages come from: the operating system unless replaced
        (an empty function restores it). */
    using PreferredLanguagesSource = std::function<juce::StringArray()>;
    static void setPreferredLanguagesSource (PreferredLanguagesSource source);
    static juce::StringArray getPreferredLanguages();

protected:
    /** Called with the requested language after a table has been installed. */
    virtual void languageChanged (const juce::String& requestedLanguage) { juce::ignoreUnused (requestedLanguage); }

private:
    static bool isKnownLanguage (const juce::String& language);

    juce::String languageCode{ "en" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LocalisedStringsManager)
};
} // namespace mv::pluginCore
