#include "MessagePump.h"

#include <juce_events/juce_events.h>

namespace juce
{
// The framework's own dispatcher on Linux, as its plug-in wrappers use it.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace oryn::test
{
namespace
{
    constexpr int idleSleepMs = 2;
}

bool pumpMessagesUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return condition();

        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (idleSleepMs);
    }

    return true;
}

void pumpMessagesFor (int durationMs)
{
    (void) pumpMessagesUntil ([]
                              { return false; },
                              durationMs);
}
} // namespace oryn::test
