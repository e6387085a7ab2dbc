#include "PreferredLanguages.h"

namespace mv::pluginCore
{
juce::String PreferredLanguages::toLanguageTag (const juce::String& localeName)
{
    const auto name = localeName.trim()
                          .upToFirstOccurrenceOf (".", false, false)
                          .upToFirstOccurrenceOf ("@", false, false);

    if (name.isEmpty() || name == "C" || name == "POSIX")
        return {};

    return name.replaceCharacter ('_', '-');
}

juce::StringArray PreferredLanguages::fromLocaleEnvironment (const juce::String& languageList, const juce::String& locale)
{
    juce::StringArray result;

    for (const auto& entry : juce::StringArray::fromTokens (languageList, ":", {}))
        if (const auto tag = toLanguageTag (entry); tag.isNotEmpty())
            result.addIfNotAlreadyThere (tag);

    if (const auto tag = toLanguageTag (locale); tag.isNotEmpty())
        result.addIfNotAlreadyThere (tag);

    return result;
}

juce::StringArray PreferredLanguages::fromSystem()
{
#if JUCE_LINUX || JUCE_BSD
    // The framework's own answer on Linux is the locale's English language name
    // ("French"), and getting it changes the process locale for a moment.
    juce::String locale;
    for (const auto* variable : { "LC_ALL", "LC_MESSAGES", "LANG" })
    {
        locale = juce::SystemStats::getEnvironmentVariable (variable, {});
        if (locale.isNotEmpty())
            break;
    }

    return fromLocaleEnvironment (juce::SystemStats::getEnvironmentVariable ("LANGUAGE", {}), locale);
#else
    return juce::StringArray (juce::SystemStats::getDisplayLanguage());
#endif
}
} // namespace mv::pluginCore
