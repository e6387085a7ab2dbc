#pragma once

#include <functional>

namespace oryn::test
{
/** Runs the message loop of the test's main thread until the condition holds or the time
    is up; returns the condition's last value. */
bool pumpMessagesUntil (const std::function<bool()>& condition, int timeoutMs);

/** Runs the message loop for a while. */
void pumpMessagesFor (int durationMs);
} // namespace oryn::test
