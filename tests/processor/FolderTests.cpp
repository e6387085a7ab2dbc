#include "OrynAudioProcessor.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

using oryn::test::TestFolders;

TEST (PresetFolders, FollowTheXdgDataFolders)
{
    TestFolders::clear();
    const auto locations = OrynAudioProcessor::makePresetLocations();

    const auto common = TestFolders::commonData().getChildFile ("Morvak/Oryn");
    const auto user = TestFolders::dataHome().getChildFile ("Morvak/Oryn");
    EXPECT_EQ (locations.factoryFolder, common.getChildFile ("presets"));
    EXPECT_EQ (locations.userFolder, user.getChildFile ("presets"));
    EXPECT_EQ (locations.designerFolder, common.getChildFile ("DesignersPresets"));
    EXPECT_EQ (locations.initPresetFile, common.getChildFile ("presets/Init.mvpreset"));
    EXPECT_EQ (locations.extension, ".mvpreset");
}

TEST (PresetFolders, AreCreatedByTheProcessor)
{
    TestFolders::clear();
    OrynAudioProcessor processor;

    EXPECT_TRUE (TestFolders::commonData().getChildFile ("Morvak/Oryn/presets").isDirectory());
    EXPECT_TRUE (TestFolders::commonData().getChildFile ("Morvak/Oryn/DesignersPresets").isDirectory());
    EXPECT_TRUE (TestFolders::dataHome().getChildFile ("Morvak/Oryn/presets").isDirectory());
    EXPECT_FALSE (TestFolders::commonData().getChildFile ("Morvak/Oryn/presets/Init.mvpreset").exists());
}

TEST (PresetFolders, UnwritableFoldersAreSilentlyAbsent)
{
    TestFolders::clear();
    const auto blocker = TestFolders::commonData().getChildFile ("Morvak");
    ASSERT_TRUE (blocker.replaceWithText ("a file where a folder should be"));

    OrynAudioProcessor processor; // must not fail
    EXPECT_FALSE (processor.getPresetsManager().getFactoryFolder().isDirectory());
    EXPECT_TRUE (processor.getPresetsManager().getUserFolder().isDirectory());
    (void) blocker.deleteFile();
}
