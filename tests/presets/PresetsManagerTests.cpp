#include "PresetTestSupport.h"

using namespace oryn::test;

namespace
{
using Log = std::vector<std::string>;

class PresetsManagerTest : public PresetTest
{
protected:
    PresetsManagerTest()
    {
        // Added A then B: B, the most recent, is told first.
        manager().addListener (&first);
        manager().addListener (&second);
    }

    ~PresetsManagerTest() override
    {
        manager().removeListener (&first);
        manager().removeListener (&second);
    }

    juce::File userFile (const juce::String& name) { return manager().getUserFolder().getChildFile (name); }

    juce::File presetWith (const juce::String& name, const std::vector<std::pair<juce::String, juce::String>>& values)
    {
        return writeText (userFile (name), presetText (values));
    }

    Log log;
    RecordingListener first{ log, "A" }, second{ log, "B" };
};

TEST_F (PresetsManagerTest, StartsWithNoPresetCleanAndSavingIntoTheUserFolder)
{
    EXPECT_EQ (manager().getCurrentPresetFile(), juce::File());
    EXPECT_FALSE (manager().isDirty());
    EXPECT_EQ (manager().getLastSaveFolder(), manager().getUserFolder());
    EXPECT_EQ (manager().getWildcard(), "*.mvpreset");
}

TEST_F (PresetsManagerTest, LoadThatChangesValuesWhileCleanTellsDirtyThenCleanThenLoaded)
{
    const auto file = presetWith ("Change.mvpreset", { { OrynParamIDs::feedback, "80" } });
    manager().loadPreset (file);

    EXPECT_EQ (log, (Log{ "B:dirty1", "A:dirty1", "B:dirty0", "A:dirty0", "B:loaded", "A:loaded" }));
    EXPECT_EQ (first.lastLoaded, file);
    EXPECT_EQ (manager().getCurrentPresetFile(), file);
    EXPECT_FALSE (manager().isDirty());
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 80.0f);
    EXPECT_TRUE (processor->isResetPending());
}

TEST_F (PresetsManagerTest, LoadOfEqualValuesTellsOnlyLoadedEachTime)
{
    const auto file = userFile ("Same.mvpreset");
    manager().savePreset (file, false);
    ASSERT_TRUE (log.empty()) << "saving a clean preset says nothing";

    manager().loadPreset (file);
    manager().loadPreset (file);
    EXPECT_EQ (log, (Log{ "B:loaded", "A:loaded", "B:loaded", "A:loaded" }));
}

TEST_F (PresetsManagerTest, MarkDirtyTellsOnceUntilCleared)
{
    manager().markDirty();
    manager().markDirty();
    setPlainValue (OrynParamIDs::size, 10.0f);
    EXPECT_EQ (log, (Log{ "B:dirty1", "A:dirty1" }));

    manager().setDirty (true);
    manager().setDirty (false);
    manager().setDirty (false);
    EXPECT_EQ (log, (Log{ "B:dirty1", "A:dirty1", "B:dirty0", "A:dirty0" }));
}

TEST_F (PresetsManagerTest, LockedMixParametersSurviveAnyLoad)
{
    const std::vector<std::pair<juce::String, float>> locked{
        { OrynParamIDs::wet, -20.0f },
        { OrynParamIDs::dry, 3.0f },
        { OrynParamIDs::wetEnabled, 0.0f },
        { OrynParamIDs::dryEnabled, 0.0f }
    };
    for (const auto& [id, value] : locked)
    {
        setPlainValue (id, value);
        processor->getLockedParams().add (id);
    }
    processor->getLockedParams().add ("noSuchParameter");

    const auto file = presetWith ("Mix.mvpreset", { { OrynParamIDs::wet, "-3" }, { OrynParamIDs::dry, "-40" }, { OrynParamIDs::wetEnabled, "1" }, { OrynParamIDs::dryEnabled, "1" }, { OrynParamIDs::feedback, "77" } });
    manager().loadPreset (file);

    for (const auto& [id, value] : locked)
        EXPECT_FLOAT_EQ (plainValue (id), value) << id;
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 77.0f);
    EXPECT_EQ (processor->getLockedParams().size(), 5) << "loading never changes the lock list";
}

TEST_F (PresetsManagerTest, MissingOrMalformedFileChangesNothingAndTellsNobody)
{
    const auto previous = presetWith ("Previous.mvpreset", {});
    manager().loadPreset (previous);
    manager().markDirty();
    log.clear();

    manager().loadPreset (userFile ("Missing.mvpreset"));
    manager().loadPreset (writeText (userFile ("Broken.mvpreset"), "<Oryn><PARAMS>"));
    manager().loadPreset (juce::File());

    EXPECT_TRUE (log.empty());
    EXPECT_EQ (manager().getCurrentPresetFile(), previous);
    EXPECT_TRUE (manager().isDirty());
}

TEST_F (PresetsManagerTest, ForeignRootChangesNoValueButBecomesCurrentCleanAndLoaded)
{
    setPlainValue (OrynParamIDs::feedback, 20.0f);
    log.clear();

    const auto file = writeText (userFile ("Foreign.mvpreset"), presetText ({ { OrynParamIDs::feedback, "90" } }, "OtherProduct"));
    manager().loadPreset (file);

    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 20.0f);
    EXPECT_EQ (manager().getCurrentPresetFile(), file);
    EXPECT_FALSE (manager().isDirty());
    EXPECT_EQ (log, (Log{ "B:dirty0", "A:dirty0", "B:loaded", "A:loaded" }));
}

TEST_F (PresetsManagerTest, SaveClearsDirtyAndOptionallyReloads)
{
    setPlainValue (OrynParamIDs::size, 12.0f);
    log.clear();

    const auto file = userFile ("Saved.mvpreset");
    manager().savePreset (file, false);
    EXPECT_EQ (log, (Log{ "B:dirty0", "A:dirty0" }));
    EXPECT_EQ (manager().getCurrentPresetFile(), file);
    EXPECT_TRUE (file.existsAsFile());

    setPlainValue (OrynParamIDs::size, 13.0f);
    log.clear();
    manager().savePreset (file, true);
    EXPECT_EQ (log, (Log{ "B:dirty0", "A:dirty0", "B:loaded", "A:loaded" }));
}

TEST_F (PresetsManagerTest, SaveThatCannotWriteStillBecomesCurrent)
{
    const auto file = userFile ("missing-folder/Lost.mvpreset");

    manager().markDirty();
    manager().savePreset (file, false);
    EXPECT_EQ (manager().getCurrentPresetFile(), file);
    EXPECT_FALSE (manager().isDirty());
    EXPECT_FALSE (file.exists());

    // With the reload the failed load leaves the unsaved changes marked.
    manager().markDirty();
    manager().savePreset (file, true);
    EXPECT_EQ (manager().getCurrentPresetFile(), file);
    EXPECT_TRUE (manager().isDirty());
    EXPECT_FALSE (file.exists());
}

TEST_F (PresetsManagerTest, SaveAsKeepsTheFolderOfTheLastSaveInsideTheUserFolder)
{
    const auto sub = userFile ("Mine");
    ASSERT_TRUE (sub.createDirectory());

    manager().saveChosenFile (sub.getChildFile ("Pad"), true);
    EXPECT_TRUE (sub.getChildFile ("Pad").existsAsFile()) << "no extension is added";
    EXPECT_EQ (manager().getCurrentPresetFile(), sub.getChildFile ("Pad"));
    EXPECT_EQ (manager().getLastSaveFolder(), sub);
    EXPECT_EQ (manager().getSaveAsStartFolder(), sub);
    EXPECT_EQ (log, (Log{ "B:loaded", "A:loaded" }));

    const auto outside = TestFolders::home().getChildFile ("Elsewhere.mvpreset");
    manager().saveChosenFile (outside, false);
    EXPECT_TRUE (outside.existsAsFile());
    EXPECT_EQ (manager().getLastSaveFolder(), sub);

    log.clear();
    manager().saveChosenFile (juce::File(), true); // cancelled
    EXPECT_TRUE (log.empty());
    EXPECT_EQ (manager().getCurrentPresetFile(), outside);

    ASSERT_TRUE (sub.deleteRecursively());
    EXPECT_EQ (manager().getSaveAsStartFolder(), manager().getUserFolder());
}

TEST_F (PresetsManagerTest, DuplicateListenersAreIgnored)
{
    manager().addListener (&first);
    manager().addListener (nullptr);
    manager().markDirty();
    EXPECT_EQ (log, (Log{ "B:dirty1", "A:dirty1" }));
}

/** Removes a listener (itself or another) from inside its callback. */
struct RemovingListener : RecordingListener
{
    using RecordingListener::RecordingListener;

    void presetDirtyChanged (mv::pluginCore::PresetsManager& m, bool isDirty) override
    {
        RecordingListener::presetDirtyChanged (m, isDirty);
        for (auto* l : toRemove)
            m.removeListener (l);
    }

    std::vector<mv::pluginCore::PresetsManager::Listener*> toRemove;
};

TEST_F (PresetsManagerTest, ListenersMayRemoveThemselvesOrOthersDuringTheWalk)
{
    RemovingListener third (log, "C");
    third.toRemove = { &third };
    manager().addListener (&third);

    manager().markDirty();
    EXPECT_EQ (log, (Log{ "C:dirty1", "B:dirty1", "A:dirty1" }));

    log.clear();
    RemovingListener fourth (log, "D");
    fourth.toRemove = { &fourth, &second };
    manager().addListener (&fourth);

    manager().setDirty (false);
    EXPECT_EQ (log, (Log{ "D:dirty0", "A:dirty0" }));

    manager().addListener (&second);
}

/** Notes whether it is ever called after its destructor started. */
struct GuardedListener : mv::pluginCore::PresetsManager::Listener
{
    static constexpr std::uint32_t aliveMark = 0x600dF00d;

    explicit GuardedListener (std::atomic<int>& violationsToUse) : violations (violationsToUse) {}
    ~GuardedListener() override { mark.store (0); }

    void presetLoaded (mv::pluginCore::PresetsManager&, const juce::File&) override { check(); }
    void presetDirtyChanged (mv::pluginCore::PresetsManager&, bool) override { check(); }

    void check()
    {
        if (mark.load() != aliveMark)
            violations.fetch_add (1);
        calls.fetch_add (1);
    }

    std::atomic<std::uint32_t> mark{ aliveMark };
    std::atomic<int> calls{ 0 };
    std::atomic<int>& violations;
};

TEST_F (PresetsManagerTest, AutomationOnAnotherThreadNeverReachesARemovedListener)
{
    // The recording listeners are not thread-safe.
    manager().removeListener (&first);
    manager().removeListener (&second);

    std::atomic<int> violations{ 0 };
    std::atomic<bool> running{ true };
    std::atomic<long> dirtyWalks{ 0 };

    // The "audio thread": automation marking the preset dirty as fast as it can.
    std::thread automation ([&]
                            {
                                while (running.load())
                                {
                                    manager().markDirty();
                                    dirtyWalks.fetch_add (1);
                                } });

    constexpr int rounds = 2000;
    for (int i = 0; i < rounds; ++i)
    {
        auto listener = std::make_unique<GuardedListener> (violations);
        manager().addListener (listener.get());
        manager().setDirty (false); // re-arms the next notification
        std::this_thread::yield();
        manager().removeListener (listener.get());
        listener.reset();
    }

    running.store (false);
    automation.join();

    EXPECT_EQ (violations.load(), 0);
    EXPECT_GT (dirtyWalks.load(), 0);
}
} // namespace
