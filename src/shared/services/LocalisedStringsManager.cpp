#include "LocalisedStringsManager.h"

#include "PreferredLanguages.h"

#include <OrynBinaryData.h>

namespace mv::pluginCore
{
namespace
{
    constexpr const char* english = "en";
    constexpr const char* french = "fr";
    constexpr const char* spanish = "es";
    constexpr const char* portuguese = "pt";

    struct LanguagesSourceHolder
    {
        juce::CriticalSection lock;
        LocalisedStringsManager::PreferredLanguagesSource source;
    };

    LanguagesSourceHolder& languagesSource()
    {
        static LanguagesSourceHolder holder;
        return holder;
    }
} // namespace

LocalisedStringsManager::LocalisedStringsManager()
{
    // An empty list gives an empty entry, which setLanguage turns into English.
    setLanguage (languageForSystemEntry (getPreferredLanguages()[0]));
}

void LocalisedStringsManager::setPreferredLanguagesSource (PreferredLanguagesSource source)
{
    auto& holder = languagesSource();
    const juce::ScopedLock sl (holder.lock);
    holder.source = std::move (source);
}

juce::StringArray LocalisedStringsManager::getPreferredLanguages()
{
    auto& holder = languagesSource();
    const juce::ScopedLock sl (holder.lock);
    return holder.source ? holder.source() : PreferredLanguages::fromSystem();
}

juce::String LocalisedStringsManager::languageForSystemEntry (const juce::String& preferredLanguage)
{
    const auto prefix = preferredLanguage.upToFirstOccurrenceOf ("-", false, false);

    if (prefix == "en" || prefix == "eng")
        return english;
    if (prefix == "fr" || prefix == "fre")
        return french;
    if (prefix == "es" || prefix == "spa")
        return spanish;
    if (prefix == "pt" || prefix == "por")
        return portuguese;

    return preferredLanguage;
}

bool LocalisedStringsManager::isKnownLanguage (const juce::String& language)
{
    return language == english || language == french || language == spanish || language == portuguese;
}

juce::String LocalisedStringsManager::getTranslationText (const juce::String& language)
{
    if (language == french)
        return juce::String::fromUTF8 (OrynBinaryData::french_txt, OrynBinaryData::french_txtSize);
    if (language == spanish)
        return juce::String::fromUTF8 (OrynBinaryData::spanish_txt, OrynBinaryData::spanish_txtSize);
    if (language == portuguese)
        return juce::String::fromUTF8 (OrynBinaryData::portuguese_br_txt, OrynBinaryData::portuguese_br_txtSize);

    return juce::String::fromUTF8 (OrynBinaryData::english_txt, OrynBinaryData::english_txtSize);
}

bool LocalisedStringsManager::setLanguage (const juce::String& language)
{
    const bool known = isKnownLanguage (language);
    languageCode = known ? language : juce::String (english);

    const auto text = getTranslationText (languageCode);
    auto table = std::make_unique<juce::LocalisedStrings> (text, false);
    table->setFallback (new juce::LocalisedStrings (text, true));

    // Takes ownership and deletes the previous table under the framework's lock.
    juce::LocalisedStrings::setCurrentMappings (table.release());

    languageChanged (language);
    return known;
}
} // namespace mv::pluginCore
