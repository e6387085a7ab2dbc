#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int allocations = 0;

void noteAllocation() noexcept
{
    if (counting)
        ++allocations;
}

} // namespace

ScopedAllocationCounter::ScopedAllocationCounter() noexcept
{
    allocations = 0;
    counting = true;
}

ScopedAllocationCounter::~ScopedAllocationCounter()
{
    counting = false;
}

int ScopedAllocationCounter::getCount() const noexcept
{
    return allocations;
}

// The C allocator, through the linker's --wrap: JUCE's heap blocks call it directly.
extern "C"
{
    void* __real_malloc (std::size_t size);
    void* __real_calloc (std::size_t count, std::size_t size);
    void* __real_realloc (void* p, std::size_t size);
    void* __wrap_malloc (std::size_t size);
    void* __wrap_calloc (std::size_t count, std::size_t size);
    void* __wrap_realloc (void* p, std::size_t size);

    void* __wrap_malloc (std::size_t size)
    {
        noteAllocation();
        return __real_malloc (size);
    }

    void* __wrap_calloc (std::size_t count, std::size_t size)
    {
        noteAllocation();
        return __real_calloc (count, size);
    }

    void* __wrap_realloc (void* p, std::size_t size)
    {
        noteAllocation();
        return __real_realloc (p, size);
    }
}

// Replacements for the whole program: every plain new and delete goes through malloc and free
// (and so do the nothrow forms below). operator new counts itself and takes its memory from
// the unwrapped malloc, so that one new counts once. (Switching the count off around a plain
// malloc call does not work: the compiler knows malloc reads no flag and drops the switch.)
void* operator new (std::size_t size)
{
    noteAllocation();
    auto* p = __real_malloc (size == 0 ? 1 : size);

    if (p == nullptr)
        throw std::bad_alloc();

    return p;
}

void* operator new[] (std::size_t size)
{
    return operator new (size);
}

// The nothrow forms too: a sanitizer's own versions would not pair with the deletes here.
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return operator new (size);
    }
    catch (...)
    {
        return nullptr;
    }
}

void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    return operator new (size, std::nothrow);
}

void operator delete (void* p) noexcept
{
    std::free (p);
}

void operator delete[] (void* p) noexcept
{
    std::free (p);
}

#if ! defined(__cpp_sized_deallocation)
void operator delete (void* p, std::size_t) noexcept;
void operator delete[] (void* p, std::size_t) noexcept;
#endif

void operator delete (void* p, std::size_t) noexcept
{
    std::free (p);
}

void operator delete[] (void* p, std::size_t) noexcept
{
    std::free (p);
}
