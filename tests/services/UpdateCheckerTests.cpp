#include "LoopbackHttpServer.h"
#include "MessagePump.h"
#include "TestProcessor.h"
#include "services/UpdateChecker.h"
#include "services/UpdateReply.h"

#include <gtest/gtest.h>

#include <regex>

namespace
{
using mv::pluginCore::UpdateChecker;
using oryn::test::LoopbackHttpServer;

constexpr int callbackTimeoutMs = 15000;
constexpr int shortConnectionTimeoutMs = 1000;
constexpr const char* versionPath = "/releaseNotes/oryn/lastVersion.php";
constexpr const char* changeLogPath = "/releaseNotes/oryn/changeLogMac.php";

struct RecordingListener : UpdateChecker::Listener
{
    void versionChecked (UpdateChecker&, bool available, juce::int64 date) override
    {
        ++versionCalls;
        updateAvailable = available;
        releaseDate = date;
        if (order != nullptr)
            order->push_back (id);
    }

    void changeLogReceived (UpdateChecker&, const juce::String& text) override
    {
        ++changeLogCalls;
        changeLog = text;
    }

    int calls() const { return versionCalls + changeLogCalls; }

    void clear()
    {
        versionCalls = changeLogCalls = 0;
        updateAvailable = false;
        releaseDate = -1;
        changeLog = "<none>";
    }

    int versionCalls = 0, changeLogCalls = 0;
    bool updateAvailable = false;
    juce::int64 releaseDate = -1;
    juce::String changeLog{ "<none>" };
    std::vector<int>* order = nullptr;
    int id = 0;
};

class UpdateCheck : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Loopback requests must never go through a proxy of the machine.
        ::setenv ("no_proxy", "127.0.0.1,localhost", 1);
        ::setenv ("NO_PROXY", "127.0.0.1,localhost", 1);
    }

    std::unique_ptr<UpdateChecker> makeChecker (const std::string& base = "/releaseNotes/oryn")
    {
        auto checker = std::make_unique<UpdateChecker> (processor);
        checker->setReleaseNotesUrl (juce::URL (server.urlFor (base)));
        checker->addListener (&listener);
        return checker;
    }

    /** Runs one check and waits for its callback. */
    void runToCallback (UpdateChecker& checker)
    {
        const int before = listener.calls();
        ASSERT_TRUE (checker.start());
        ASSERT_TRUE (oryn::test::pumpMessagesUntil ([&]
                                                    { return listener.calls() > before; },
                                                    callbackTimeoutMs));
        ASSERT_TRUE (checker.waitForRunToEnd (callbackTimeoutMs));
    }

    void serveVersion (const std::string& body, int status = 200)
    {
        server.setRoute (versionPath, { status, body, {}, false });
    }

    LoopbackHttpServer server;
    oryn::test::TestProcessor processor;
    RecordingListener listener;
};

struct VersionCase
{
    const char* body;
    bool available;
    juce::int64 releaseDate;
};

TEST_F (UpdateCheck, AnnouncedVersionAgainstTheRunningOne)
{
    const VersionCase cases[] = {
        { "macVersion:1.0.7;macReleaseDate:1700000000000", true, 1700000000000 },
        { "macVersion:1.0.6;macReleaseDate:1600000000000", false, 1600000000000 },
        { "macVersion:1.0.7 beta 3", true, 0 },
        { "macVersion:1.0.6beta5", false, 0 },
        { "MACVERSION:1.0.7", true, 0 },
        { "\nmacVersion:1.0.7", false, 0 },
        { "macVersion:1.0.5;winVersion:2.0.0", false, 0 },
        { "macReleaseDate:99999999999999999999", false, mv::pluginCore::UpdateReply::latestReleaseDate },
        { "", false, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.body).quoted());
        serveVersion (c.body);
        listener.clear();

        auto checker = makeChecker();
        runToCallback (*checker);

        EXPECT_EQ (listener.versionCalls, 1);
        EXPECT_EQ (listener.changeLogCalls, 0);
        EXPECT_EQ (listener.updateAvailable, c.available);
        EXPECT_EQ (listener.releaseDate, c.releaseDate);
    }
}

TEST_F (UpdateCheck, RunningBetaIsOlderThanItsRelease)
{
    processor.setBetaNumber (2);
    const std::pair<const char*, bool> cases[] = {
        { "macVersion:1.0.6", true },
        { "macVersion:1.0.6 beta 3", true },
        { "macVersion:1.0.6 beta 2", false },
        { "macVersion:1.0.6 beta 1", false },
    };

    for (const auto& [body, available] : cases)
    {
        SCOPED_TRACE (body);
        serveVersion (body);
        auto checker = makeChecker();
        EXPECT_EQ (checker->getLocalVersion().getScore(), 10602);
        runToCallback (*checker);
        EXPECT_EQ (listener.updateAvailable, available);
    }
}

TEST_F (UpdateCheck, RequestCarriesPathAndUserAgent)
{
    serveVersion ("macVersion:1.0.6");
    auto checker = makeChecker();
    runToCallback (*checker);

    const auto requests = server.getRequests();
    ASSERT_EQ (requests.size(), 1u);
    EXPECT_EQ (requests[0].method, "GET");
    EXPECT_EQ (requests[0].path, versionPath);
    ASSERT_EQ (requests[0].headers.count ("user-agent"), 1u);
    EXPECT_EQ (requests[0].headers.at ("user-agent"), checker->getUserAgent().toStdString());

    // Name, version without blanks, host, and the real system with its version.
    EXPECT_TRUE (std::regex_match (checker->getUserAgent().toStdString(), std::regex (R"(Oryn/1\.0\.6-Unknown \(Linux [0-9]+\.[0-9]+\))")))
        << checker->getUserAgent();
}

TEST_F (UpdateCheck, UserAgentCarriesTheBetaWithoutBlanks)
{
    processor.setBetaNumber (3);
    const auto checker = makeChecker();
    EXPECT_TRUE (checker->getUserAgent().startsWith ("Oryn/1.0.6beta3-"));
}

TEST_F (UpdateCheck, RedirectsAreFollowedUpToFive)
{
    for (const int hops : { 1, 5, 6 })
    {
        SCOPED_TRACE (hops);
        const auto base = "/hops" + std::to_string (hops);

        for (int i = 0; i < hops; ++i)
            server.setRoute (base + "/" + std::to_string (i) + "/lastVersion.php",
                             { 302, {}, base + "/" + std::to_string (i + 1) + "/lastVersion.php", false });
        server.setRoute (base + "/" + std::to_string (hops) + "/lastVersion.php", { 200, "macVersion:1.0.7", {}, false });

        auto checker = makeChecker (base + "/0");
        runToCallback (*checker);
        EXPECT_EQ (listener.updateAvailable, hops <= UpdateChecker::maxRedirects);
    }
}

TEST_F (UpdateCheck, ErrorPagesAreNotReplies)
{
    serveVersion ("macVersion:9.9.9", 404);
    auto checker = makeChecker();
    runToCallback (*checker);

    EXPECT_EQ (listener.versionCalls, 1);
    EXPECT_FALSE (listener.updateAvailable);
    EXPECT_EQ (checker->getRemoteVersion().getScore(), 0);
}

TEST_F (UpdateCheck, FailedCheckKeepsTheLastAnnouncement)
{
    serveVersion ("macVersion:1.0.7;macReleaseDate:42");
    auto checker = makeChecker();
    runToCallback (*checker);
    ASSERT_TRUE (listener.updateAvailable);

    serveVersion ("gone", 404);
    runToCallback (*checker);
    EXPECT_EQ (listener.versionCalls, 2);
    EXPECT_TRUE (listener.updateAvailable);
    EXPECT_EQ (listener.releaseDate, 42);
}

TEST_F (UpdateCheck, OversizedAndBinaryRepliesAnnounceNothing)
{
    std::string huge = "macVersion:9.9.9;";
    huge.resize (UpdateChecker::maxReplyBytes + 1, 'x');

    juce::Random random (99);
    std::string binary (4096, '\0');
    for (auto& c : binary)
        c = (char) random.nextInt (256);

    for (const auto* body : { &huge, &binary })
    {
        serveVersion (*body);
        auto checker = makeChecker();
        runToCallback (*checker);
        EXPECT_FALSE (listener.updateAvailable);
    }
}

TEST_F (UpdateCheck, ReplyJustBelowTheCapIsRead)
{
    std::string body = "macVersion:1.0.7;";
    body.resize (UpdateChecker::maxReplyBytes, ' ');
    serveVersion (body);

    auto checker = makeChecker();
    runToCallback (*checker);
    EXPECT_TRUE (listener.updateAvailable);
}

TEST_F (UpdateCheck, ChangeLogIsFetchedInChangeLogMode)
{
    server.setRoute (changeLogPath, { 200, "1.0.7\n- a brighter tail", {}, false });
    auto checker = makeChecker();

    checker->setChangeLogMode (true);
    runToCallback (*checker);

    EXPECT_EQ (listener.changeLogCalls, 1);
    EXPECT_EQ (listener.versionCalls, 0);
    EXPECT_EQ (listener.changeLog, "1.0.7\n- a brighter tail");
    EXPECT_FALSE (checker->isChangeLogMode()) << "the next run checks the version again";
    EXPECT_EQ (server.getRequests().back().path, changeLogPath);
}

TEST_F (UpdateCheck, ChangeLogCanFollowFromTheVersionCallback)
{
    // What the editor does when a newer version is announced.
    struct ChainingListener : RecordingListener
    {
        void versionChecked (UpdateChecker& checker, bool available, juce::int64 date) override
        {
            RecordingListener::versionChecked (checker, available, date);
            if (! available)
                return;

            (void) checker.waitForRunToEnd (50);
            checker.setChangeLogMode (true);
            restarted = checker.start();
        }

        bool restarted = false;
    } chaining;

    serveVersion ("macVersion:1.0.7");
    server.setRoute (changeLogPath, { 200, "news", {}, false });
    auto checker = makeChecker();
    checker->removeListener (&listener);
    checker->addListener (&chaining);

    ASSERT_TRUE (checker->start());
    ASSERT_TRUE (oryn::test::pumpMessagesUntil ([&]
                                                { return chaining.changeLogCalls == 1; },
                                                callbackTimeoutMs));

    EXPECT_TRUE (chaining.restarted);
    EXPECT_EQ (chaining.versionCalls, 1);
    EXPECT_EQ (chaining.changeLog, "news");
    EXPECT_FALSE (checker->isChangeLogMode());
}

TEST_F (UpdateCheck, MissingChangeLogPageGivesAnEmptyText)
{
    server.setRoute (changeLogPath, { 200, "<p>Sorry, the page you're looking for is not available.</p>", {}, false });
    auto checker = makeChecker();

    checker->setChangeLogMode (true);
    runToCallback (*checker);

    EXPECT_EQ (listener.changeLogCalls, 1);
    EXPECT_EQ (listener.changeLog, "");
}

TEST_F (UpdateCheck, ClosedPortReportsNoUpdate)
{
    auto checker = std::make_unique<UpdateChecker> (processor);
    checker->setReleaseNotesUrl (juce::URL ("http://127.0.0.1:" + juce::String (LoopbackHttpServer::findClosedPort()) + "/releaseNotes/oryn"));
    checker->addListener (&listener);
    runToCallback (*checker);

    EXPECT_EQ (listener.versionCalls, 1);
    EXPECT_FALSE (listener.updateAvailable);
    EXPECT_EQ (listener.releaseDate, 0);
}

TEST_F (UpdateCheck, SilentServerTimesOutWithNoUpdate)
{
    server.setRoute (versionPath, { 200, {}, {}, true });
    auto checker = makeChecker();
    checker->setConnectionTimeoutMs (shortConnectionTimeoutMs);
    runToCallback (*checker);

    EXPECT_EQ (listener.versionCalls, 1);
    EXPECT_FALSE (listener.updateAvailable);
}

TEST_F (UpdateCheck, DestroyedDuringTheStartDelayNeverCalls)
{
    serveVersion ("macVersion:1.0.7");
    {
        auto checker = makeChecker();
        ASSERT_TRUE (checker->start());
    }

    oryn::test::pumpMessagesFor (500);
    EXPECT_EQ (listener.calls(), 0);
    EXPECT_TRUE (server.getRequests().empty());
}

TEST_F (UpdateCheck, DestroyedDuringARequestStopsItAndNeverCalls)
{
    server.setRoute (versionPath, { 200, {}, {}, true });
    auto checker = makeChecker();
    checker->setConnectionTimeoutMs (60000);
    ASSERT_TRUE (checker->start());
    ASSERT_TRUE (oryn::test::pumpMessagesUntil ([&]
                                                { return ! server.getRequests().empty(); },
                                                callbackTimeoutMs));

    // Without cancelling, the destructor would wait for the whole stop timeout.
    const auto started = juce::Time::getMillisecondCounter();
    checker.reset();
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, (juce::uint32) UpdateChecker::stopTimeoutMs / 2);

    oryn::test::pumpMessagesFor (300);
    EXPECT_EQ (listener.calls(), 0);
}

TEST_F (UpdateCheck, ListenersAreCalledNewestFirstAndOnlyOnce)
{
    serveVersion ("macVersion:1.0.7");
    std::vector<int> order;
    RecordingListener first, second;
    first.order = second.order = &order;
    first.id = 1;
    second.id = 2;

    auto checker = makeChecker();
    checker->removeListener (&listener);
    checker->addListener (&first);
    checker->addListener (&second);
    checker->addListener (&first);

    ASSERT_TRUE (checker->start());
    ASSERT_TRUE (oryn::test::pumpMessagesUntil ([&]
                                                { return order.size() >= 2; },
                                                callbackTimeoutMs));
    oryn::test::pumpMessagesFor (50);

    EXPECT_EQ (order, (std::vector<int>{ 2, 1 }));
}

TEST_F (UpdateCheck, ListenerMayRemoveItselfDuringTheCall)
{
    struct SelfRemoving : UpdateChecker::Listener
    {
        void versionChecked (UpdateChecker& checker, bool, juce::int64) override
        {
            ++calls;
            checker.removeListener (this);
        }
        void changeLogReceived (UpdateChecker&, const juce::String&) override {}
        int calls = 0;
    } selfRemoving;

    serveVersion ("macVersion:1.0.7");
    auto checker = makeChecker();
    checker->addListener (&selfRemoving);

    runToCallback (*checker);
    runToCallback (*checker);

    EXPECT_EQ (selfRemoving.calls, 1);
    EXPECT_EQ (listener.versionCalls, 2);
}

TEST_F (UpdateCheck, OnlyOneRunAtATime)
{
    serveVersion ("macVersion:1.0.7");
    auto checker = makeChecker();

    ASSERT_TRUE (checker->start());
    EXPECT_FALSE (checker->start());
    EXPECT_TRUE (checker->isRunning());

    ASSERT_TRUE (oryn::test::pumpMessagesUntil ([&]
                                                { return listener.calls() == 1; },
                                                callbackTimeoutMs));
    ASSERT_TRUE (checker->waitForRunToEnd (callbackTimeoutMs));
    EXPECT_EQ (server.getRequests().size(), 1u);
}
} // namespace
