#include "UpdateChecker.h"

#include "UpdateReply.h"
#include "processor/PluginProcessor.h"

#if JUCE_LINUX || JUCE_BSD
    #include <sys/utsname.h>
#endif

// The requests go through the framework's libcurl client (JUCE_USE_CURL=1): the maker's site
// is served over https, which the framework's own Linux socket client cannot speak, and only
// the curl client honours a connection timeout and can be cancelled while it waits.

namespace mv::pluginCore
{
namespace
{
    constexpr int firstSuccessStatus = 200;
    constexpr int lastSuccessStatus = 299;
    constexpr int readChunkBytes = 8192;
    constexpr int kernelVersionParts = 2;

    /** The system and its version, as the user agent names it: "Linux 6.1", "Mac OSX 14.2". */
    juce::String describeSystem()
    {
#if JUCE_LINUX || JUCE_BSD
        juce::String name ("Linux");
        utsname info{};

        if (::uname (&info) != 0)
            return name;

        // "6.1.0-13-amd64" -> "6.1"
        const auto release = juce::String (info.release).initialSectionContainingOnly ("0123456789.");
        auto parts = juce::StringArray::fromTokens (release, ".", {});
        parts.removeEmptyStrings();
        parts.removeRange (kernelVersionParts, parts.size());

        return parts.isEmpty() ? name : name + " " + parts.joinIntoString (".");
#else
        return juce::SystemStats::getOperatingSystemName();
#endif
    }
} // namespace

UpdateChecker::UpdateChecker (PluginProcessor& p)
    : juce::Thread (threadName),
      processor (p)
{
    const juce::PluginHostType host;
    hostType = (int) host.type;
    local = UpdateVersion::fromText (processor.getVersionString (false));
    // Built here, so the request thread never calls into the processor.
    userAgent = processor.getName() + "/" + processor.getVersionString (true) + "-" + host.getHostDescription()
                + " (" + describeSystem() + ")";

    juce::Thread::addListener (&exitWatcher);
}

UpdateChecker::~UpdateChecker()
{
    // Stopping cancels the running request through the exit watcher.
    stopThread (stopTimeoutMs);
    cancelPendingUpdate();
    juce::Thread::removeListener (&exitWatcher);
}

void UpdateChecker::addListener (Listener* listener)
{
    listeners.add (listener);
}

void UpdateChecker::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

void UpdateChecker::setReleaseNotesUrl (const juce::URL& url)
{
    // Copy, then move: the framework's copy assignment of a URL hands memcpy a null pointer
    // for its empty post data.
    releaseNotesUrl = juce::URL (url);
}

bool UpdateChecker::start()
{
    if (isThreadRunning())
        return false;

    return startThread();
}

void UpdateChecker::run()
{
    if (changeLogMode)
        getChangeLog();
    else
        downloadVersionInfos();
}

void UpdateChecker::downloadVersionInfos()
{
    // Gives a closing editor a quarter of a second to cancel before anything is sent.
    for (int i = 0; i < startDelaySteps; ++i)
    {
        if (threadShouldExit())
            return;

        wait (startDelayStepMs);
    }

    if (const auto body = fetch (versionPage); body.has_value() && ! threadShouldExit())
    {
        const auto reply = UpdateReply::fromVersionReply (*body);
        releaseDate = reply.releaseDate;
        remote = reply.version;
    }

    updateAvailable = local.getScore() < remote.getScore();

    if (! threadShouldExit())
        triggerAsyncUpdate();
}

void UpdateChecker::getChangeLog()
{
    if (const auto body = fetch (changeLogPage); body.has_value() && ! threadShouldExit())
        changeLog = UpdateReply::changeLogFromBody (*body);

    if (! threadShouldExit())
        triggerAsyncUpdate();
}

std::optional<juce::String> UpdateChecker::fetch (const juce::String& page)
{
    juce::WebInputStream stream (releaseNotesUrl.getChildURL (page), false);
    stream.withExtraHeaders ("User-Agent: " + userAgent + "\r\n")
        .withConnectionTimeout (connectionTimeoutMs)
        .withNumRedirectsToFollow (maxRedirects);

    {
        // Registered under the lock, so a stop request either sees the request or is seen here.
        const juce::ScopedLock sl (requestLock);
        if (threadShouldExit())
            return std::nullopt;
        activeRequest = &stream;
    }

    std::optional<juce::String> body;

    // A refused connection still "connects" with status 0; error pages are not replies.
    if (stream.connect (nullptr) && ! threadShouldExit()
        && stream.getStatusCode() >= firstSuccessStatus && stream.getStatusCode() <= lastSuccessStatus)
    {
        juce::MemoryBlock data;
        juce::HeapBlock<char> chunk (readChunkBytes);
        bool tooLong = false;

        while (! threadShouldExit())
        {
            const auto numRead = stream.read (chunk.get(), readChunkBytes);
            if (numRead <= 0)
                break;

            if (data.getSize() + (size_t) numRead > maxReplyBytes)
            {
                tooLong = true;
                break;
            }

            data.append (chunk.get(), (size_t) numRead);
        }

        // A cut-off reply could announce a version that was never sent.
        if (! tooLong && ! stream.isError() && ! threadShouldExit())
            body = UpdateReply::decodeBody (data.getData(), data.getSize());
    }

    {
        const juce::ScopedLock sl (requestLock);
        activeRequest = nullptr;
    }

    return body;
}

void UpdateChecker::cancelRequest()
{
    const juce::ScopedLock sl (requestLock);
    if (activeRequest != nullptr)
        activeRequest->cancel();
}

void UpdateChecker::handleAsyncUpdate()
{
    if (changeLogMode.exchange (false))
        listeners.call ([this] (Listener& l)
                        { l.changeLogReceived (*this, changeLog); });
    else
        listeners.call ([this] (Listener& l)
                        { l.versionChecked (*this, updateAvailable, releaseDate); });
}
} // namespace mv::pluginCore
