// Plain C++ only, so that a ThreadSanitizer build of this test needs no JUCE.
#include "presets/ConcurrentListenerList.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct Target
{
    static constexpr std::uint32_t aliveMark = 0x600dF00d;

    ~Target() { mark.store (0); }

    void called (std::atomic<int>& violations)
    {
        if (mark.load() != aliveMark)
            violations.fetch_add (1);
        calls.fetch_add (1);
    }

    std::atomic<std::uint32_t> mark{ aliveMark };
    std::atomic<int> calls{ 0 };
};

using List = mv::pluginCore::ConcurrentListenerList<Target>;

TEST (ConcurrentListenerList, WalksMostRecentFirstAndRefusesDuplicates)
{
    List list;
    Target a, b, c;
    list.add (&a);
    list.add (&b);
    list.add (&a);
    list.add (nullptr);
    list.add (&c);
    EXPECT_EQ (list.size(), 3);

    std::vector<Target*> order;
    list.call ([&] (Target& t)
               { order.push_back (&t); });
    EXPECT_EQ (order, (std::vector<Target*>{ &c, &b, &a }));

    list.remove (&b);
    list.remove (&b);
    EXPECT_FALSE (list.contains (&b));
    EXPECT_EQ (list.size(), 2);
}

TEST (ConcurrentListenerList, RemovalDuringTheWalkClampsTheIndex)
{
    List list;
    Target a, b, c, d;
    for (auto* t : { &a, &b, &c, &d })
        list.add (t);

    // d removes itself and c, which is never called; b and a still are.
    std::vector<Target*> order;
    list.call ([&] (Target& t)
               {
                   order.push_back (&t);
                   if (&t == &d)
                   {
                       list.remove (&d);
                       list.remove (&c);
                   } });
    EXPECT_EQ (order, (std::vector<Target*>{ &d, &b, &a }));

    // Adding during a walk is safe too; the newcomer waits for the next walk.
    Target e;
    order.clear();
    list.call ([&] (Target& t)
               {
                   order.push_back (&t);
                   list.add (&e); });
    EXPECT_EQ (order, (std::vector<Target*>{ &b, &a }));
    EXPECT_TRUE (list.contains (&e));
}

TEST (ConcurrentListenerList, WalksOnOtherThreadsNeverReachARemovedListener)
{
    List list;
    Target permanent;
    list.add (&permanent);

    std::atomic<int> violations{ 0 };
    std::atomic<bool> running{ true };
    std::atomic<long> walks{ 0 };

    // Two "audio threads" walking without pause.
    auto walker = [&]
    {
        while (running.load())
        {
            list.call ([&] (Target& t)
                       { t.called (violations); });
            walks.fetch_add (1);
        }
    };
    std::thread first (walker), second (walker);

    constexpr int rounds = 3000;
    for (int i = 0; i < rounds; ++i)
    {
        auto target = std::make_unique<Target>();
        list.add (target.get());
        if (i % 2 == 0)
            std::this_thread::yield();
        list.remove (target.get());
        target.reset(); // destroyed right after removal returns
    }

    running.store (false);
    first.join();
    second.join();

    EXPECT_EQ (violations.load(), 0);
    EXPECT_GT (walks.load(), 0);
    EXPECT_GT (permanent.calls.load(), 0);
}

TEST (ConcurrentListenerList, ManyConcurrentWalkersBeyondTheTrackedSlots)
{
    List list;
    Target permanent;
    list.add (&permanent);

    std::atomic<int> violations{ 0 };
    std::atomic<bool> running{ true };
    std::atomic<int> nestedDepthReached{ 0 };

    // Deeply nested walks on one thread use up the slots; the rest fall back to the count.
    std::function<void (int)> nest = [&] (int depth)
    {
        list.call ([&] (Target& t)
                   {
                       t.called (violations);
                       if (&t != &permanent)
                           return;
                       if (depth < List::maximumTrackedWalks + 8)
                           nest (depth + 1);
                       else
                           nestedDepthReached.store (depth); });
    };

    std::thread walker ([&]
                        {
                            do
                                nest (0);
                            while (running.load()); });

    for (int i = 0; i < 2000; ++i)
    {
        auto target = std::make_unique<Target>();
        list.add (target.get());
        list.remove (target.get());
    }

    running.store (false);
    walker.join();

    EXPECT_EQ (violations.load(), 0);
    EXPECT_EQ (nestedDepthReached.load(), List::maximumTrackedWalks + 8);
}
} // namespace
