#include "TestFolders.h"
#include "TestProcessor.h"
#include "services/SharedSettings.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
using mv::pluginCore::SharedSettings;

class Settings : public testing::Test
{
protected:
    void SetUp() override { oryn::test::TestFolders::clear(); }

    static juce::File settingsFile()
    {
        return oryn::test::TestFolders::configHome().getChildFile ("Morvak/Oryn/Oryn.settings");
    }

    static void writeSettingsFile (const juce::MemoryBlock& content)
    {
        ASSERT_TRUE (settingsFile().getParentDirectory().createDirectory());
        ASSERT_TRUE (settingsFile().replaceWithData (content.getData(), content.getSize()));
    }

    static void writeSettingsFile (const juce::String& content)
    {
        writeSettingsFile (juce::MemoryBlock (content.toRawUTF8(), content.getNumBytesAsUTF8()));
    }

    /** The "settings" element stored in the file, or nullptr. */
    static std::unique_ptr<juce::XmlElement> storedTree()
    {
        auto document = juce::parseXML (settingsFile());
        if (document == nullptr || ! document->hasTagName ("PROPERTIES"))
            return nullptr;

        auto* value = document->getChildByAttribute ("name", "settings");
        if (value == nullptr || value->getFirstChildElement() == nullptr)
            return nullptr;

        return std::make_unique<juce::XmlElement> (*value->getFirstChildElement());
    }
};

TEST_F (Settings, FileLivesInTheXdgConfigFolder)
{
    EXPECT_EQ (SharedSettings::getSettingsFile(), settingsFile());
}

TEST_F (Settings, RelativeXdgConfigHomeIsIgnored)
{
    const auto configHome = oryn::test::TestFolders::configHome().getFullPathName();
    ::setenv ("XDG_CONFIG_HOME", "relative/folder", 1);

    const auto file = SharedSettings::getSettingsFile();

    ::setenv ("XDG_CONFIG_HOME", configHome.toRawUTF8(), 1);
    EXPECT_EQ (file, oryn::test::TestFolders::home().getChildFile (".config/Morvak/Oryn/Oryn.settings"));
}

TEST_F (Settings, HoldersShareOneTreeThatSurvivesInTheFile)
{
    auto* first = SharedSettings::acquireSettings();
    auto* second = SharedSettings::acquireSettings();
    ASSERT_EQ (first, second);

    first->setValue ("defaultWidth", "1234");
    EXPECT_EQ (second->getValue ("defaultWidth"), "1234");
    EXPECT_EQ (second->getTree().getProperty ("defaultWidth").toString(), "1234");

    SharedSettings::releaseSettings();
    EXPECT_FALSE (settingsFile().exists()) << "written before the last holder went";
    SharedSettings::releaseSettings();

    auto* reloaded = SharedSettings::acquireSettings();
    EXPECT_EQ (reloaded->getValue ("defaultWidth"), "1234");
    SharedSettings::releaseSettings();
}

TEST_F (Settings, LastHolderWritesTheFileEvenWithoutChanges)
{
    ASSERT_FALSE (settingsFile().exists());

    SharedSettings::acquireSettings();
    SharedSettings::releaseSettings();

    const auto tree = storedTree();
    ASSERT_NE (tree, nullptr);
    EXPECT_TRUE (tree->hasTagName ("settings"));
    EXPECT_EQ (tree->getNumAttributes(), 0);
    EXPECT_EQ (tree->getNumChildElements(), 0);
}

TEST_F (Settings, ProcessorHoldsTheSettingsForItsLifetime)
{
    {
        oryn::test::TestProcessor processor;
        processor.getSettings().setValue ("defaultHeight", "777");
        EXPECT_FALSE (settingsFile().exists());
    }

    const auto tree = storedTree();
    ASSERT_NE (tree, nullptr);
    EXPECT_EQ (tree->getStringAttribute ("defaultHeight"), "777");
}

TEST_F (Settings, HandEditedCheckForUpdatesIsRead)
{
    writeSettingsFile (R"(<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="settings">
    <settings checkForUpdates="0" lastVersionCheck="1700000000000"/>
  </VALUE>
</PROPERTIES>
)");

    auto* settings = SharedSettings::acquireSettings();
    const auto checkForUpdates = settings->getValue ("checkForUpdates", "1");
    EXPECT_EQ (checkForUpdates, "0");
    EXPECT_NE (checkForUpdates, "1") << "only \"1\" turns the check on";
    EXPECT_EQ (settings->getValue ("lastVersionCheck", "0").getLargeIntValue(), 1700000000000);
    SharedSettings::releaseSettings();
}

TEST_F (Settings, DamagedFilesReadAsEmpty)
{
    juce::Random random (4242);
    juce::MemoryBlock noise (4096);
    random.fillBitsRandomly (noise.getData(), noise.getSize());

    auto withMagic = [&noise] (const char* magic)
    {
        juce::MemoryBlock block (magic, 4);
        block.append (noise.getData(), noise.getSize());
        return block;
    };

    const std::pair<const char*, juce::MemoryBlock> files[] = {
        { "text", juce::MemoryBlock ("not <xml", 8) },
        { "noise", noise },
        { "binary layout", withMagic ("PROP") },
        { "compressed layout", withMagic ("CPRP") },
        { "blank", juce::MemoryBlock (" ", 1) },
    };

    for (const auto& [name, content] : files)
    {
        SCOPED_TRACE (name);
        writeSettingsFile (content);

        auto* settings = SharedSettings::acquireSettings();
        EXPECT_TRUE (settings->getTree().hasType ("settings"));
        EXPECT_EQ (settings->getTree().getNumProperties(), 0);
        EXPECT_EQ (settings->getValue ("checkForUpdates", "1"), "1");
        SharedSettings::releaseSettings();
    }
}

TEST_F (Settings, UnusableSettingsValuesReadAsEmpty)
{
    const char* const documents[] = {
        R"(<PROPERTIES><VALUE name="settings" val="not xml"/></PROPERTIES>)",
        R"(<PROPERTIES><VALUE name="settings"><other checkForUpdates="0"/></VALUE></PROPERTIES>)",
        R"(<PROPERTIES><VALUE name="Settings"><settings checkForUpdates="0"/></VALUE></PROPERTIES>)",
    };

    for (const auto* document : documents)
    {
        SCOPED_TRACE (document);
        writeSettingsFile (document);

        auto* settings = SharedSettings::acquireSettings();
        EXPECT_TRUE (settings->getTree().hasType ("settings"));
        EXPECT_EQ (settings->getTree().getNumProperties(), 0);
        SharedSettings::releaseSettings();
    }
}

TEST_F (Settings, ConcurrentHoldersCreateOneObject)
{
    constexpr int numThreads = 8;
    const int creationsBefore = SharedSettings::getCreationCount();

    std::mutex mutex;
    std::condition_variable allHolding;
    int holding = 0;
    std::vector<SharedSettings*> seen (numThreads, nullptr);
    std::vector<std::thread> threads;

    for (int i = 0; i < numThreads; ++i)
    {
        threads.emplace_back ([&, i]
                              {
                                  seen[(size_t) i] = SharedSettings::acquireSettings();
                                  {
                                      // Nobody lets go before everybody holds it.
                                      std::unique_lock<std::mutex> sl (mutex);
                                      ++holding;
                                      allHolding.notify_all();
                                      allHolding.wait (sl, [&] { return holding == numThreads; });
                                  }
                                  SharedSettings::releaseSettings(); });
    }

    for (auto& t : threads)
        t.join();

    EXPECT_EQ (SharedSettings::getCreationCount() - creationsBefore, 1);
    for (auto* s : seen)
        EXPECT_EQ (s, seen.front());
}

TEST_F (Settings, ChurnWhileHeldNeverRecreatesTheObject)
{
    constexpr int numThreads = 6;
    constexpr int cyclesPerThread = 2000;

    auto* held = SharedSettings::acquireSettings();
    const int creationsBefore = SharedSettings::getCreationCount();
    std::atomic<int> mismatches{ 0 };
    std::vector<std::thread> threads;

    for (int i = 0; i < numThreads; ++i)
    {
        threads.emplace_back ([&]
                              {
                                  for (int cycle = 0; cycle < cyclesPerThread; ++cycle)
                                  {
                                      if (SharedSettings::acquireSettings() != held)
                                          ++mismatches;
                                      SharedSettings::releaseSettings();
                                  } });
    }

    for (auto& t : threads)
        t.join();

    EXPECT_EQ (SharedSettings::getCreationCount(), creationsBefore);
    EXPECT_EQ (mismatches.load(), 0);
    SharedSettings::releaseSettings();
}
} // namespace
