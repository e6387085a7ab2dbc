#include "PresetTestSupport.h"
#include "presets/PresetFolders.h"
#include "presets/PresetReference.h"
#include "processor/StateChunk.h"

using namespace oryn::test;
using mv::pluginCore::PresetFolders;
using mv::pluginCore::PresetReference;
using mv::pluginCore::StateChunk;

namespace
{
using Log = std::vector<std::string>;

class PresetReferenceTest : public PresetTest
{
protected:
    static std::unique_ptr<juce::XmlElement> stateXml (OrynAudioProcessor& p)
    {
        juce::MemoryBlock chunk;
        p.getStateInformation (chunk);
        return StateChunk::read (chunk.getData(), (int) chunk.getSize());
    }

    static void restore (OrynAudioProcessor& p, const juce::XmlElement& xml)
    {
        juce::MemoryBlock chunk;
        StateChunk::write (xml, chunk);
        p.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }

    static const juce::XmlElement* reference (const juce::XmlElement& xml) { return xml.getChildByName ("lastPreset"); }

    juce::File savedPreset (const juce::File& file)
    {
        (void) file.getParentDirectory().createDirectory();
        manager().savePreset (file, false);
        return file;
    }
};

TEST_F (PresetReferenceTest, NoCurrentPresetWritesNoReference)
{
    EXPECT_EQ (reference (*stateXml (*processor)), nullptr);
}

TEST_F (PresetReferenceTest, FactoryInitTurnedKnobIsRestoredAsCurrentAndDirtyWithoutReadingTheFile)
{
    const auto init = manager().getInitPresetFile();
    ASSERT_EQ (init.getParentDirectory(), manager().getFactoryFolder());
    savedPreset (init);
    manager().loadPreset (init);
    setPlainValue (OrynParamIDs::size, 33.0f);

    const auto xml = stateXml (*processor);
    const auto* ref = reference (*xml);
    ASSERT_NE (ref, nullptr);
    EXPECT_EQ (xml->getChildElement (xml->getNumChildElements() - 1), ref) << "the reference is the last child";
    EXPECT_EQ (ref->getStringAttribute ("root"), "FACTORY");
    EXPECT_EQ (ref->getStringAttribute ("path"), "Init.mvpreset");
    EXPECT_EQ (ref->getStringAttribute ("dirty"), "1");

    // Gone, the file can only become the current preset without being read.
    ASSERT_TRUE (init.deleteFile());

    auto restored = makeProcessor();
    Log log;
    RecordingListener listener (log, "L");
    restored->getPresetsManager().addListener (&listener);
    restore (*restored, *xml);

    EXPECT_EQ (restored->getPresetsManager().getCurrentPresetFile(), init);
    EXPECT_TRUE (restored->getPresetsManager().isDirty());
    EXPECT_FLOAT_EQ (plainValue (*restored, OrynParamIDs::size), 33.0f);
    EXPECT_EQ (log, (Log{ "L:dirty1" })) << "no presetLoaded: nothing was loaded";
    restored->getPresetsManager().removeListener (&listener);
}

TEST_F (PresetReferenceTest, StoredCleanFlagWinsOverTheChangesOfTheRestore)
{
    const auto file = savedPreset (manager().getUserFolder().getChildFile ("Clean.mvpreset"));
    setPlainValue (OrynParamIDs::feedback, 5.0f);
    manager().savePreset (file, false);
    const auto xml = stateXml (*processor);
    EXPECT_EQ (reference (*xml)->getStringAttribute ("dirty"), "0");

    auto restored = makeProcessor();
    Log log;
    RecordingListener listener (log, "L");
    restored->getPresetsManager().addListener (&listener);
    restore (*restored, *xml);

    EXPECT_FALSE (restored->getPresetsManager().isDirty());
    EXPECT_EQ (log, (Log{ "L:dirty1", "L:dirty0" }));
    restored->getPresetsManager().removeListener (&listener);
}

struct PlaceCase
{
    const char* name;
    std::function<juce::File (mv::pluginCore::PresetsManager&)> file;
    const char* root; // nullptr: no "root" attribute
    const char* path;
};

class PresetReferencePlaces : public PresetReferenceTest, public ::testing::WithParamInterface<PlaceCase>
{
};

TEST_P (PresetReferencePlaces, NamesTheCategoryAndTheRelativePathAndRestoresThem)
{
    const auto& c = GetParam();
    const auto file = savedPreset (c.file (manager()));

    const auto xml = stateXml (*processor);
    const auto* ref = reference (*xml);
    ASSERT_NE (ref, nullptr);

    if (c.root == nullptr)
        EXPECT_FALSE (ref->hasAttribute ("root"));
    else
        EXPECT_EQ (ref->getStringAttribute ("root"), c.root);

    EXPECT_TRUE (ref->hasAttribute ("path"));
    EXPECT_EQ (ref->getStringAttribute ("path"), c.path);
    EXPECT_EQ (ref->getStringAttribute ("dirty"), "0");

    auto restored = makeProcessor();
    restore (*restored, *xml);
    EXPECT_EQ (restored->getPresetsManager().getCurrentPresetFile(), c.root == nullptr ? juce::File() : file);
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          PresetReferencePlaces,
                          ::testing::Values (
                              PlaceCase{ "UserSubFolder", [] (auto& m)
                                         { return m.getUserFolder().getChildFile ("Pads/Soft/Air.mvpreset"); },
                                         "USER",
                                         "Pads/Soft/Air.mvpreset" },
                              PlaceCase{ "Designer", [] (auto& m)
                                         { return m.getDesignerFolder().getChildFile ("Ann/Glow.mvpreset"); },
                                         "DESIGNER",
                                         "Ann/Glow.mvpreset" },
                              PlaceCase{ "Factory", [] (auto& m)
                                         { return m.getFactoryFolder().getChildFile ("Halls/Big.mvpreset"); },
                                         "FACTORY",
                                         "Halls/Big.mvpreset" },
                              PlaceCase{ "Outside", [] (auto&)
                                         { return TestFolders::home().getChildFile ("Desktop/Mine.mvpreset"); },
                                         nullptr,
                                         "" }),
                          [] (const ::testing::TestParamInfo<PlaceCase>& testInfo)
                          { return std::string (testInfo.param.name); });

TEST_F (PresetReferenceTest, ReferenceNamingNoCategoryOrLeavingItsFolderKeepsTheCurrentPreset)
{
    const auto current = manager().getUserFolder().getChildFile ("Current.mvpreset");

    for (const auto* attributes : { "root=\"SYSTEM\" path=\"A.mvpreset\"",
                                    "root=\"user\" path=\"A.mvpreset\"",
                                    "path=\"A.mvpreset\"",
                                    "root=\"USER\" path=\"../../../../etc/passwd\"",
                                    "root=\"USER\" path=\"/etc/passwd\"",
                                    "root=\"USER\" path=\"\"" })
    {
        manager().setCurrentPresetFile (current);
        const auto xml = juce::parseXML (juce::String ("<Oryn><lastPreset ") + attributes + " dirty=\"1\"/></Oryn>");
        ASSERT_NE (xml, nullptr);
        restore (*processor, *xml);

        EXPECT_EQ (manager().getCurrentPresetFile(), current) << attributes;
        EXPECT_TRUE (manager().isDirty()) << "the stored flag is still restored";
        manager().setDirty (false);
    }
}

TEST_F (PresetReferenceTest, ForeignRootStillSetsTheReferenceButNoValues)
{
    setPlainValue (OrynParamIDs::mod, 10.0f);
    const auto xml = juce::parseXML ("<Other><PARAMS><PARAM id=\"mod\" value=\"90\"/></PARAMS>"
                                     "<LASTPRESET root=\"USER\" path=\"X.mvpreset\" dirty=\"yes\"/></Other>");
    restore (*processor, *xml);

    EXPECT_EQ (manager().getCurrentPresetFile(), manager().getUserFolder().getChildFile ("X.mvpreset"));
    EXPECT_TRUE (manager().isDirty());
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::mod), 10.0f);
}

TEST_F (PresetReferenceTest, OlderWindowsPathsResolveToTheFactoryAndUserFolders)
{
    EXPECT_EQ (PresetReference::resolveOlderPath ("C:\\ProgramData\\Morvak\\Oryn\\presets\\A.mvpreset"),
               manager().getFactoryFolder().getChildFile ("A.mvpreset"));
    EXPECT_EQ (PresetReference::resolveOlderPath ("D:\\Users\\bob\\AppData\\Roaming\\Morvak\\Oryn\\presets\\A.mvpreset"),
               manager().getUserFolder().getChildFile ("A.mvpreset"));
    EXPECT_EQ (PresetReference::resolveOlderPath ("/home/bob/A.mvpreset"), juce::File ("/home/bob/A.mvpreset"));
    EXPECT_EQ (PresetReference::resolveOlderPath ("~/A.mvpreset"), TestFolders::home().getChildFile ("A.mvpreset"));
    EXPECT_EQ (PresetReference::resolveOlderPath ("presets/A.mvpreset"), juce::File());
    EXPECT_EQ (PresetReference::resolveOlderPath ("presets\\A.mvpreset"), juce::File());
}

TEST_F (PresetReferenceTest, OlderChunkLoadsTheFactoryPresetThenAppliesItsOwnValues)
{
    // The file sets feedback and size; the chunk's own values then win.
    const auto file = writeText (manager().getFactoryFolder().getChildFile ("A.mvpreset"),
                                 presetText ({ { OrynParamIDs::feedback, "11" }, { OrynParamIDs::size, "22" } }));

    setPlainValue (OrynParamIDs::feedback, 70.0f);
    auto xml = processor->createStateXml (true);
    xml->setAttribute ("lastPreset", "C:\\ProgramData\\Morvak\\Oryn\\presets\\A.mvpreset");

    auto restored = makeProcessor();
    Log log;
    RecordingListener listener (log, "L");
    restored->getPresetsManager().addListener (&listener);
    restore (*restored, *xml);

    EXPECT_EQ (restored->getPresetsManager().getCurrentPresetFile(), file);
    EXPECT_EQ (listener.lastLoaded, file);
    EXPECT_FLOAT_EQ (plainValue (*restored, OrynParamIDs::feedback), 70.0f);
    EXPECT_FLOAT_EQ (plainValue (*restored, OrynParamIDs::size), 80.0f);
    EXPECT_EQ (reference (*stateXml (*restored))->getStringAttribute ("root"), "FACTORY");
    restored->getPresetsManager().removeListener (&listener);
}

TEST_F (PresetReferenceTest, OlderRelativePathLoadsNothing)
{
    // Even with a matching file in the working folder.
    const auto previousWorkingFolder = juce::File::getCurrentWorkingDirectory();
    writeText (TestFolders::home().getChildFile ("presets/A.mvpreset"), presetText ({ { OrynParamIDs::feedback, "11" } }));
    ASSERT_TRUE (TestFolders::home().setAsCurrentWorkingDirectory());

    auto xml = processor->createStateXml (true);
    xml->setAttribute ("lastPreset", "presets\\A.mvpreset");
    restore (*processor, *xml);

    EXPECT_EQ (manager().getCurrentPresetFile(), juce::File());
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 50.0f);
    (void) previousWorkingFolder.setAsCurrentWorkingDirectory();
}
} // namespace
