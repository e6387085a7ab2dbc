#include "OrynAudioProcessor.h"
#include "ProductTexts.h"
#include "TestProcessor.h"
#include "services/LocalisedStringsManager.h"
#include "services/PreferredLanguages.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace
{
using mv::pluginCore::LocalisedStringsManager;
using mv::pluginCore::PreferredLanguages;

const char* const languages[] = { "en", "fr", "es", "pt" };

/** Replaces the system's preferred languages for one test and restores English after it. */
class Localisation : public testing::Test
{
protected:
    void TearDown() override
    {
        LocalisedStringsManager::setPreferredLanguagesSource ({});
        LocalisedStringsManager english;
        english.setLanguage ("en");
    }

    static void preferLanguages (const juce::StringArray& list)
    {
        LocalisedStringsManager::setPreferredLanguagesSource ([list]
                                                              { return list; });
    }
};

struct LanguageChoice
{
    const char* preferred;
    const char* language;
    const char* save; // what "Save" reads as once the language is installed
};

const LanguageChoice choices[] = {
    { "fr-CA", "fr", "Enregistrer" },
    { "fr", "fr", "Enregistrer" },
    { "fre", "fr", "Enregistrer" },
    { "pt-BR", "pt", "Salvar" },
    { "pt-PT", "pt", "Salvar" },
    { "por", "pt", "Salvar" },
    { "es-MX", "es", "Guardar" },
    { "spa", "es", "Guardar" },
    { "en-GB", "en", "Save" },
    { "eng", "en", "Save" },
    { "de-DE", "en", "Save" },
    { "FR-ca", "en", "Save" }, // codes compare case-sensitively
    { "", "en", "Save" },
};

TEST_F (Localisation, FirstPreferredLanguageChoosesTheTable)
{
    for (const auto& choice : choices)
    {
        SCOPED_TRACE (choice.preferred);
        // Only the first entry counts.
        preferLanguages ({ choice.preferred, "fr-FR" });

        const LocalisedStringsManager manager;

        EXPECT_EQ (manager.getLanguage(), choice.language);
        EXPECT_EQ (TRANS ("Save"), choice.save);
    }
}

TEST_F (Localisation, NoPreferredLanguageGivesEnglish)
{
    preferLanguages ({});
    const LocalisedStringsManager manager;
    EXPECT_EQ (manager.getLanguage(), "en");
    EXPECT_EQ (TRANS ("Save as"), "Save as");
}

TEST_F (Localisation, ProcessorBaseFollowsTheSystem)
{
    preferLanguages ({ "fr-CA" });
    oryn::test::TestProcessor processor;

    EXPECT_EQ (processor.getLocalisedStringsManager().getLanguage(), "fr");
    EXPECT_EQ (TRANS ("Show presets location"), "Ouvrir le dossier preset");
}

TEST_F (Localisation, ProductIsEnglishOnEverySystem)
{
    for (const auto* preferred : { "fr-CA", "es-ES", "pt-BR", "de-DE", "en-US" })
    {
        SCOPED_TRACE (preferred);
        preferLanguages ({ preferred });

        OrynAudioProcessor processor;

        EXPECT_EQ (processor.getLocalisedStringsManager().getLanguage(), "en");
        EXPECT_EQ (TRANS ("Save"), "Save");
        EXPECT_EQ (TRANS ("close"), "close");
    }
}

TEST_F (Localisation, SetLanguageRefusesUnknownCodesWithEnglish)
{
    LocalisedStringsManager manager;

    EXPECT_TRUE (manager.setLanguage ("es"));
    EXPECT_EQ (TRANS ("close"), "cerrar");

    for (const auto* code : { "de", "fr-CA", "FR", "" })
    {
        SCOPED_TRACE (code);
        EXPECT_TRUE (manager.setLanguage ("pt"));
        EXPECT_FALSE (manager.setLanguage (code));
        EXPECT_EQ (manager.getLanguage(), "en");
        EXPECT_EQ (TRANS ("close"), "close");
    }
}

TEST_F (Localisation, LookupIgnoresLetterCaseThroughTheFallback)
{
    LocalisedStringsManager manager;
    ASSERT_TRUE (manager.setLanguage ("fr"));

    EXPECT_EQ (TRANS ("Save as"), "Enregistrer sous");
    EXPECT_EQ (TRANS ("SAVE AS"), "Enregistrer sous");
    EXPECT_EQ (TRANS ("Proceed To Download Page"), "visiter la page de téléchargement");
    EXPECT_EQ (TRANS ("no such text"), "no such text");
}

TEST_F (Localisation, SystemLanguageReachesTheManagerOnLinux)
{
    const auto* previous = std::getenv ("LANGUAGE");
    const std::string previousLanguage = previous != nullptr ? previous : "";
    ::setenv ("LANGUAGE", "pt_BR:en", 1);

    const LocalisedStringsManager manager;
    EXPECT_EQ (manager.getLanguage(), "pt");

    if (previous != nullptr)
        ::setenv ("LANGUAGE", previousLanguage.c_str(), 1);
    else
        ::unsetenv ("LANGUAGE");
}

//==============================================================================
struct LocaleCase
{
    const char* languageList;
    const char* locale;
    juce::StringArray expected;
};

TEST (PreferredLanguages, LinuxLocaleVariablesBecomeLanguageTags)
{
    const LocaleCase cases[] = {
        { "fr_CA:fr", "de_DE.UTF-8", { "fr-CA", "fr", "de-DE" } },
        { "", "pt_BR.UTF-8", { "pt-BR" } },
        { "", "en_US.ISO-8859-1@euro", { "en-US" } },
        { "es_ES::es", "es_ES.UTF-8", { "es-ES", "es" } },
        { "", "C.UTF-8", {} },
        { "C", "POSIX", {} },
        { "", "", {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.languageList) + " / " + c.locale);
        EXPECT_EQ (PreferredLanguages::fromLocaleEnvironment (c.languageList, c.locale), c.expected);
    }
}

//==============================================================================
struct TellingRow
{
    const char* key;
    const char* translations[4]; // en, fr, es, pt
};

const TellingRow tellingRows[] = {
    { "Save", { "Save", "Enregistrer", "Guardar", "Salvar" } },
    { "Save as", { "Save as", "Enregistrer sous", "Guardar como", "Salvar como" } },
    { "Show presets location", { "Show presets location", "Ouvrir le dossier preset", "Abrir la carpeta presets", "Mostrar pasta preset" } },
    { "proceed to download page", { "proceed to download page", "visiter la page de téléchargement", "ver página de descarga", "continuar para a página de download" } },
    { "close", { "close", "fermer", "cerrar", "fechar" } },
    { "version", { "version", "version", "versión", "versão" } },
};

TEST (TranslationFiles, TellingRowsReadExactly)
{
    for (size_t i = 0; i < std::size (languages); ++i)
    {
        const juce::LocalisedStrings table (LocalisedStringsManager::getTranslationText (languages[i]), false);

        for (const auto& row : tellingRows)
        {
            SCOPED_TRACE (juce::String (languages[i]) + ": " + row.key);
            EXPECT_EQ (table.translate (row.key, "<missing>"), juce::String::fromUTF8 (row.translations[i]));
        }
    }
}

TEST (TranslationFiles, EveryProductTextHasAnEntryInEveryFile)
{
    for (const auto* language : languages)
    {
        const juce::LocalisedStrings table (LocalisedStringsManager::getTranslationText (language), false);
        const auto& mappings = table.getMappings();

        for (const auto* text : oryn::test::productTexts)
        {
            SCOPED_TRACE (juce::String (language) + ": " + text);
            ASSERT_TRUE (mappings.containsKey (text));

            const auto translation = mappings[text];
            // The tooltip line's bold marks must survive translation.
            EXPECT_EQ (translation.indexOf ("**") >= 0, juce::String (text).indexOf ("**") >= 0);

            if (juce::String (language) == "en")
            {
                EXPECT_EQ (translation, text);
            }
        }
    }
}

TEST (TranslationFiles, HeadersNameLanguageAndCountry)
{
    const struct
    {
        const char* code;
        const char* name;
        const char* country;
    } headers[] = { { "en", "[english]", "[en]" },
                    { "fr", "[french]", "[fr]" },
                    { "es", "[spanish]", "[es]" },
                    { "pt", "[portuguese (br)]", "[pt]" } };

    for (const auto& h : headers)
    {
        SCOPED_TRACE (h.code);
        const juce::LocalisedStrings table (LocalisedStringsManager::getTranslationText (h.code), false);
        EXPECT_EQ (table.getLanguageName(), h.name);
        EXPECT_EQ (table.getCountryCodes(), juce::StringArray (h.country));
    }
}

TEST (TranslationFiles, UnknownCodeGivesTheEnglishFile)
{
    EXPECT_EQ (LocalisedStringsManager::getTranslationText ("de"), LocalisedStringsManager::getTranslationText ("en"));
}
} // namespace
