#pragma once

#include "UpdateVersion.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

namespace mv::pluginCore
{
class PluginProcessor;

/** Asks the maker's site whether a newer version exists and, on request, fetches the
    change log. The requests run on the checker's own thread ("Web Updater"); the results
    reach the listeners on the message thread.

    Each run sends a GET below the release-notes address: "lastVersion.php" in version mode,
    "changeLogMac.php" in change-log mode.
*/
class UpdateChecker : private juce::Thread,
                      private juce::AsyncUpdater
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void versionChecked (UpdateChecker& checker, bool updateAvailable, juce::int64 releaseDate) = 0;
        virtual void changeLogReceived (UpdateChecker& checker, const juce::String& changeLog) = 0;
    };

    explicit UpdateChecker (PluginProcessor& processor);
    /** Stops a running request and waits for the thread; no callback follows. */
    ~UpdateChecker() override;

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** The base address of the requests; set it before starting. */
    void setReleaseNotesUrl (const juce::URL& url);
    const juce::URL& getReleaseNotesUrl() const noexcept { return releaseNotesUrl; }

    /** False: the next run checks the version; true: it fetches the change log. */
    void setChangeLogMode (bool shouldFetchChangeLog) noexcept { changeLogMode = shouldFetchChangeLog; }
    bool isChangeLogMode() const noexcept { return changeLogMode; }

    /** Starts a run; does nothing and returns false while one is still active. */
    bool start();
    bool isRunning() const { return isThreadRunning(); }
    /** Waits up to timeoutMs for the active run to end; true when none is active. */
    bool waitForRunToEnd (int timeoutMs) const { return waitForThreadToExit (timeoutMs); }

    /** How long a request may wait for the server to connect or to send anything. */
    void setConnectionTimeoutMs (int timeoutMs) noexcept { connectionTimeoutMs = timeoutMs; }

    // Results of the last runs; read them from the listener callbacks.
    bool isUpdateAvailable() const noexcept { return updateAvailable; }
    juce::int64 getReleaseDate() const noexcept { return releaseDate; }
    const juce::String& getChangeLogText() const noexcept { return changeLog; }
    const UpdateVersion& getLocalVersion() const noexcept { return local; }
    const UpdateVersion& getRemoteVersion() const noexcept { return remote; }

    /** "Oryn/1.0.6-<host> (<system> <version>)". */
    const juce::String& getUserAgent() const noexcept { return userAgent; }

    static constexpr const char* threadName = "Web Updater";
    static constexpr const char* versionPage = "lastVersion.php";
    static constexpr const char* changeLogPage = "changeLogMac.php";
    static constexpr int stopTimeoutMs = 15000;
    static constexpr int startDelaySteps = 49;
    static constexpr int startDelayStepMs = 5;
    static constexpr int maxRedirects = 5;
    static constexpr int defaultConnectionTimeoutMs = 10000;
    // Real replies are a few hundred bytes; anything longer than this is not a reply.
    static constexpr size_t maxReplyBytes = 1 << 20;

private:
    struct ExitWatcher : juce::Thread::Listener
    {
        explicit ExitWatcher (UpdateChecker& c) : checker (c) {}
        void exitSignalSent() override { checker.cancelRequest(); }
        UpdateChecker& checker;
    };

    void run() override;
    void handleAsyncUpdate() override;

    void downloadVersionInfos();
    void getChangeLog();

    /** The body of a successful GET of the page, or nothing. */
    std::optional<juce::String> fetch (const juce::String& page);
    void cancelRequest();

    int hostType = 0;
    PluginProcessor& processor;
    juce::ListenerList<Listener> listeners;
    juce::URL releaseNotesUrl;
    UpdateVersion local, remote;
    bool updateAvailable = false;
    juce::int64 releaseDate = 0;
    juce::String changeLog;
    std::atomic<bool> changeLogMode{ false };

    juce::String userAgent;
    std::atomic<int> connectionTimeoutMs{ defaultConnectionTimeoutMs };
    ExitWatcher exitWatcher{ *this };
    juce::CriticalSection requestLock;
    juce::WebInputStream* activeRequest = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateChecker)
};
} // namespace mv::pluginCore
