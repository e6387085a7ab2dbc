#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** The user's preferred interface languages as language tags ("fr-CA", "pt-BR", "de"),
    most preferred first. */
struct PreferredLanguages
{
    /** What the operating system says. On Linux: the entries of $LANGUAGE, then the first
        of $LC_ALL, $LC_MESSAGES and $LANG that is set; "C" and "POSIX" name no language. */
    static juce::StringArray fromSystem();

    /** The Linux rules of fromSystem on explicit values: a colon-separated list such as
        $LANGUAGE, then a locale name such as $LANG. */
    static juce::StringArray fromLocaleEnvironment (const juce::String& languageList, const juce::String& locale);

    /** "pt_BR.UTF-8@euro" -> "pt-BR"; empty for "C", "POSIX" or an empty text. */
    static juce::String toLanguageTag (const juce::String& localeName);
};
} // namespace mv::pluginCore
