#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace mv::pluginCore
{
/** A listener list that can be walked from the audio thread while another thread adds
    and removes listeners.

    Walking never locks, waits or allocates: the list is an immutable snapshot swapped in
    by add and remove (copy on write), and a walk announces itself in one of a fixed set of
    slots. add and remove may allocate and wait: after swapping in the new snapshot they
    wait until every walk running on another thread has finished, so that once remove
    returns the removed listener is never called again and may be destroyed, and the old
    snapshot can be freed safely.

    Walks go from the most recently added listener to the oldest and re-read the live list
    after every call, so a listener may remove itself (or others) from its callback on the
    thread that registers listeners. Walks nested deeper than the slot count on one thread
    while that thread removes a listener would wait forever; nothing in the plug-in nests
    more than a few levels.
*/
template <typename ListenerType>
class ConcurrentListenerList
{
public:
    ConcurrentListenerList() = default;

    /** No walk may be running any more. */
    ~ConcurrentListenerList() { delete current.load(); }

    /** Adds a listener once; a null or registered listener is ignored. */
    void add (ListenerType* listener)
    {
        if (listener == nullptr)
            return;

        update ([listener] (Snapshot& list)
                {
                    if (std::find (list.begin(), list.end(), listener) != list.end())
                        return false;
                    list.push_back (listener);
                    return true; });
    }

    /** Removes a listener; once this returns it is not called again by any thread. */
    void remove (ListenerType* listener)
    {
        update ([listener] (Snapshot& list)
                {
                    const auto found = std::find (list.begin(), list.end(), listener);
                    if (found == list.end())
                        return false;
                    list.erase (found);
                    return true; });
    }

    int size() const
    {
        const std::lock_guard<std::mutex> lock (writerLock);
        const auto* list = current.load();
        return list == nullptr ? 0 : (int) list->size();
    }

    bool contains (ListenerType* listener) const
    {
        const std::lock_guard<std::mutex> lock (writerLock);
        const auto* list = current.load();
        return list != nullptr && std::find (list->begin(), list->end(), listener) != list->end();
    }

    /** Calls callback (listener&) on every listener, most recently added first. */
    template <typename Callback>
    void call (Callback&& callback)
    {
        const WalkScope walk (*this);

        // Clamping the index to the live size after every call keeps removals during
        // the walk safe; the snapshot pointer is never held across a callback.
        int index = std::numeric_limits<int>::max();

        for (;;)
        {
            const auto* list = current.load();
            index = std::min (index, list == nullptr ? 0 : (int) list->size()) - 1;

            if (index < 0)
                return;

            callback (*(*list)[(size_t) index]);
        }
    }

    /** More walks at once (all threads, nesting included) fall back to a shared count. */
    static constexpr int maximumTrackedWalks = 64;

private:
    using Snapshot = std::vector<ListenerType*>;

    /** A slot's sequence is odd while a walk holds it; owner is the walking thread. */
    struct Slot
    {
        std::atomic<std::uint32_t> sequence{ 0 };
        std::atomic<std::thread::id> owner{};
    };

    static_assert (std::atomic<std::thread::id>::is_always_lock_free);
    static_assert (std::atomic<std::uint32_t>::is_always_lock_free);

    struct WalkScope
    {
        explicit WalkScope (ConcurrentListenerList& l) : list (l), slot (l.claimSlot()) {}
        ~WalkScope() { list.releaseSlot (slot); }

        ConcurrentListenerList& list;
        const int slot;
    };

    int claimSlot()
    {
        for (int i = 0; i < maximumTrackedWalks; ++i)
        {
            auto& slot = slots[(size_t) i];
            auto sequence = slot.sequence.load();

            if ((sequence & 1u) == 0 && slot.sequence.compare_exchange_strong (sequence, sequence + 1))
            {
                slot.owner.store (std::this_thread::get_id());
                return i;
            }
        }

        untrackedWalks.fetch_add (1);
        return -1;
    }

    void releaseSlot (int index)
    {
        if (index < 0)
            untrackedWalks.fetch_sub (1);
        else
            slots[(size_t) index].sequence.fetch_add (1);
    }

    template <typename Change>
    void update (Change&& change)
    {
        Snapshot* previous = nullptr;

        {
            const std::lock_guard<std::mutex> lock (writerLock);
            const auto* list = current.load();
            auto next = list == nullptr ? Snapshot() : *list;

            if (! change (next))
                return;

            previous = current.exchange (new Snapshot (std::move (next)));
        }

        // Not under the lock: a callback on another thread may itself add or remove.
        waitForOtherWalks();
        delete previous;
    }

    void waitForOtherWalks() const
    {
        const auto self = std::this_thread::get_id();

        for (const auto& slot : slots)
        {
            const auto sequence = slot.sequence.load();

            // Walks of this thread are suspended in a callback and re-read the list
            // afterwards; a slot whose owner is not yet written belongs to a walk that
            // will only ever see the new snapshot.
            if ((sequence & 1u) == 0 || slot.owner.load() == self)
                continue;

            while (slot.sequence.load() == sequence)
                std::this_thread::yield();
        }

        while (untrackedWalks.load() > 0)
            std::this_thread::yield();
    }

    std::atomic<Snapshot*> current{ nullptr };
    Slot slots[maximumTrackedWalks];
    std::atomic<int> untrackedWalks{ 0 };
    mutable std::mutex writerLock;
};
} // namespace mv::pluginCore
