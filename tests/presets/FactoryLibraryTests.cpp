#include "PresetTestSupport.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetListing.h"

using namespace oryn::test;

namespace
{
const juce::File library (ORYN_FACTORY_PRESETS_DIR);

constexpr int minimumDesignedPresets = 16;
constexpr int minimumFolders = 3;

std::vector<juce::File> designedPresets()
{
    std::vector<juce::File> files;
    for (const auto& entry : juce::RangedDirectoryIterator (library, true, "*.mvpreset"))
        if (entry.getFile().getFileName() != "Init.mvpreset")
            files.push_back (entry.getFile());
    return files;
}

class FactoryLibraryTest : public PresetTest
{
protected:
    /** Plain values of every parameter after loading the file into a processor. */
    std::map<juce::String, float> valuesAfterLoading (const juce::File& file)
    {
        auto p = makeProcessor();
        p->getPresetsManager().loadPreset (file);
        EXPECT_EQ (p->getPresetsManager().getCurrentPresetFile(), file);

        std::map<juce::String, float> values;
        for (const auto* id : OrynParamIDs::all)
            values[id] = plainValue (*p, id);
        return values;
    }
};

TEST_F (FactoryLibraryTest, InitHoldsEveryParameterAtItsDefault)
{
    const auto init = library.getChildFile ("Init.mvpreset");
    ASSERT_TRUE (init.existsAsFile());

    // Apply over a processor that is away from the defaults.
    for (auto* param : processor->getParameters())
        param->setValueNotifyingHost (param->getDefaultValue() > 0.5f ? 0.0f : 1.0f);

    manager().loadPreset (init);
    for (const auto* id : OrynParamIDs::all)
        EXPECT_FLOAT_EQ (parameter (*processor, id).getValue(), parameter (*processor, id).getDefaultValue()) << id;
}

TEST_F (FactoryLibraryTest, EveryFileIsACompletePresetWithValuesInRange)
{
    for (const auto& file : designedPresets())
    {
        const auto xml = mv::pluginCore::PresetFileReader::read (file);
        ASSERT_NE (xml, nullptr) << file.getFullPathName();
        EXPECT_EQ (xml->getTagName(), "Oryn");
        EXPECT_EQ (xml->getStringAttribute ("version"), "1.0.6");

        const auto* params = xml->getChildByName ("PARAMS");
        ASSERT_NE (params, nullptr);
        EXPECT_EQ (params->getNumChildElements(), OrynParamIDs::numParameters) << file.getFileName();

        for (const auto* id : OrynParamIDs::all)
        {
            const auto* param = params->getChildByAttribute ("id", id);
            ASSERT_NE (param, nullptr) << file.getFileName() << " " << id;
            const auto value = (float) param->getDoubleAttribute ("value");
            const auto& range = parameter (*processor, id).getNormalisableRange();
            EXPECT_GE (value, range.start) << file.getFileName() << " " << id;
            EXPECT_LE (value, range.end) << file.getFileName() << " " << id;
        }
    }
}

TEST_F (FactoryLibraryTest, DesignedPresetsAreDistinctAndSortedIntoFolders)
{
    const auto files = designedPresets();
    EXPECT_GE ((int) files.size(), minimumDesignedPresets);

    const auto defaults = valuesAfterLoading (library.getChildFile ("Init.mvpreset"));
    std::set<std::map<juce::String, float>> seen;

    for (const auto& file : files)
    {
        EXPECT_NE (file.getParentDirectory(), library) << "designed presets live in folders by use: " << file.getFileName();

        const auto values = valuesAfterLoading (file);
        EXPECT_NE (values, defaults) << file.getFileName();
        EXPECT_TRUE (seen.insert (values).second) << "a duplicate of another preset: " << file.getFileName();
    }

    // As the preset menu lists it: folders only, the Init preset not among them.
    const auto entries = mv::pluginCore::PresetListing::list (library, ".mvpreset", library.getChildFile ("Init.mvpreset"));
    EXPECT_GE ((int) entries.size(), minimumFolders);
    for (const auto& entry : entries)
    {
        EXPECT_TRUE (entry.isGroup()) << entry.label;
        EXPECT_FALSE (entry.entries.empty()) << entry.label;
    }
}
} // namespace
