#include "TestFolders.h"
#include "presets/PresetFolderSearch.h"
#include "presets/PresetListing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using mv::pluginCore::PresetFolderSearch;
using mv::pluginCore::PresetListing;

namespace
{
constexpr const char* extension = ".mvpreset";
constexpr const char* wildcard = "*.mvpreset";

class PresetListingTest : public ::testing::Test
{
protected:
    PresetListingTest()
    {
        oryn::test::TestFolders::clear();
        (void) library.createDirectory();
    }

    juce::File touch (const juce::String& relativePath)
    {
        auto file = library.getChildFile (relativePath);
        (void) file.getParentDirectory().createDirectory();
        (void) file.replaceWithText ("<Oryn/>");
        return file;
    }

    juce::File folder (const juce::String& relativePath)
    {
        auto f = library.getChildFile (relativePath);
        (void) f.createDirectory();
        return f;
    }

    std::vector<PresetListing::Entry> list() { return PresetListing::list (library, extension, init); }

    static std::vector<juce::String> labels (const std::vector<PresetListing::Entry>& entries)
    {
        std::vector<juce::String> result;
        for (const auto& e : entries)
            result.push_back (e.isGroup() ? "[" + e.label + "]" : e.label);
        return result;
    }

    juce::File library = oryn::test::TestFolders::commonData().getChildFile ("library");
    juce::File init = library.getChildFile ("Init.mvpreset");
};

TEST_F (PresetListingTest, ListsInNaturalOrderWithFoldersInterleaved)
{
    touch ("Pad 10.mvpreset");
    touch ("Pad 2.mvpreset");
    touch ("B2.mvpreset");
    touch ("b.mvpreset");
    touch ("Halls/Big.mvpreset");
    touch ("a.mvpreset");

    const std::vector<juce::String> expected{ "a", "b", "B2", "[Halls]", "Pad 2", "Pad 10" };
    EXPECT_EQ (labels (list()), expected);
}

TEST_F (PresetListingTest, SubGroupsCarryTheirOwnEntriesDepthFirst)
{
    touch ("Halls/Large/Cathedral.mvpreset");
    touch ("Halls/Concert.mvpreset");
    touch ("Halls/Large/Arena.mvpreset");

    const auto entries = list();
    ASSERT_EQ (entries.size(), 1u);
    ASSERT_TRUE (entries[0].isGroup());
    EXPECT_EQ (entries[0].file, library.getChildFile ("Halls"));

    const std::vector<juce::String> halls{ "Concert", "[Large]" };
    EXPECT_EQ (labels (entries[0].entries), halls);

    const std::vector<juce::String> large{ "Arena", "Cathedral" };
    EXPECT_EQ (labels (entries[0].entries[1].entries), large);
    EXPECT_EQ (entries[0].entries[1].entries[0].file, library.getChildFile ("Halls/Large/Arena.mvpreset"));
}

TEST_F (PresetListingTest, LeavesOutInitHiddenForeignAndEmptyFolders)
{
    touch ("Init.mvpreset");
    touch ("Keep.mvpreset");
    touch (".Hidden.mvpreset");
    touch ("notes.txt");
    touch ("Upper.MVPRESET");
    touch ("Empty/readme.txt");
    folder ("Nothing");
    touch (".HiddenFolder/Inside.mvpreset");

    const std::vector<juce::String> expected{ "Keep", "Upper" };
    EXPECT_EQ (labels (list()), expected);
}

TEST_F (PresetListingTest, InitIsRecognisedByPathIgnoringCase)
{
    touch ("INIT.MVPRESET");
    touch ("Sub/Init.mvpreset"); // another folder's Init is an ordinary preset

    const auto entries = list();
    ASSERT_EQ (entries.size(), 1u);
    EXPECT_EQ (labels (entries[0].entries), std::vector<juce::String>{ "Init" });
}

TEST_F (PresetListingTest, FolderWhoseOnlyPresetsAreHiddenIsAnEmptyGroup)
{
    touch ("Secret/.a.mvpreset");

    EXPECT_TRUE (PresetFolderSearch::folderContainsPresets (library.getChildFile ("Secret"), wildcard));

    const auto entries = list();
    ASSERT_EQ (entries.size(), 1u);
    EXPECT_TRUE (entries[0].isGroup());
    EXPECT_TRUE (entries[0].entries.empty());
}

TEST_F (PresetListingTest, FolderNamedWithTheExtensionCountsButIsNoEntry)
{
    folder ("Odd/Bundle.mvpreset");

    EXPECT_TRUE (PresetFolderSearch::folderContainsPresets (library, wildcard));

    const auto entries = list();
    ASSERT_EQ (entries.size(), 1u);
    EXPECT_EQ (entries[0].label, "Odd");
    EXPECT_TRUE (entries[0].entries.empty()); // the folder "Bundle.mvpreset" holds nothing
}

TEST_F (PresetListingTest, ContainsPresetsSearchesAnyDepthAndIgnoresCase)
{
    EXPECT_FALSE (PresetFolderSearch::folderContainsPresets (library, wildcard));

    touch ("a/b/c/d/notes.txt");
    EXPECT_FALSE (PresetFolderSearch::folderContainsPresets (library, wildcard));

    touch ("a/b/c/d/Deep.MvPreset");
    EXPECT_TRUE (PresetFolderSearch::folderContainsPresets (library, wildcard));
}

TEST_F (PresetListingTest, MissingOrUnreadableFoldersListNothing)
{
    const auto missing = library.getChildFile ("missing");
    EXPECT_FALSE (PresetFolderSearch::folderContainsPresets (missing, wildcard));
    EXPECT_TRUE (PresetListing::list (missing, extension, init).empty());

    // A file given as the folder.
    const auto file = touch ("Plain.mvpreset");
    EXPECT_FALSE (PresetFolderSearch::folderContainsPresets (file, wildcard));
    EXPECT_TRUE (PresetListing::list (file, extension, init).empty());

    const auto locked = folder ("Locked");
    touch ("Locked/Inside.mvpreset");
    ::chmod (locked.getFullPathName().toRawUTF8(), 0);

    if (::geteuid() != 0) // root reads every folder
    {
        EXPECT_FALSE (PresetFolderSearch::folderContainsPresets (locked, wildcard));
        EXPECT_TRUE (PresetListing::list (locked, extension, init).empty());
    }

    ::chmod (locked.getFullPathName().toRawUTF8(), 0755);
}

TEST_F (PresetListingTest, SymbolicLinkCycleEndsTheSearch)
{
    const auto loop = folder ("Loop");
    ASSERT_TRUE (library.createSymbolicLink (loop.getChildFile ("again"), true));

    EXPECT_FALSE (PresetFolderSearch::folderContainsPresets (library, wildcard));
    EXPECT_TRUE (list().empty());
}

TEST_F (PresetListingTest, PresetFileTest)
{
    EXPECT_TRUE (PresetListing::isPresetFile (touch ("A.mvpreset"), extension));
    EXPECT_TRUE (PresetListing::isPresetFile (touch ("B.MVPRESET"), extension));
    EXPECT_FALSE (PresetListing::isPresetFile (touch (".C.mvpreset"), extension));
    EXPECT_FALSE (PresetListing::isPresetFile (touch ("D.mvpreset.txt"), extension));
    EXPECT_FALSE (PresetListing::isPresetFile (folder ("E.mvpreset"), extension));
    EXPECT_FALSE (PresetListing::isPresetFile (library.getChildFile ("F.mvpreset"), extension));
}
} // namespace
