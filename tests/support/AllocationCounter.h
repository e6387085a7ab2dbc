#pragma once

/** Counts heap allocations made on the current thread inside a scope: every operator new and
    every malloc, calloc and realloc of code linked into this test program. */
class ScopedAllocationCounter
{
public:
    ScopedAllocationCounter() noexcept;
    ~ScopedAllocationCounter();

    int getCount() const noexcept;

    ScopedAllocationCounter (const ScopedAllocationCounter&) = delete;
    ScopedAllocationCounter& operator= (const ScopedAllocationCounter&) = delete;
};
