#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int allocations = 0;

void* allocate (std::size_t size)
{
    if (counting)
        ++allocations;

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
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

// Replacements for the whole program: every plain new and delete goes through malloc and free
// (the library's nothrow forms forward to these).
void* operator new (std::size_t size)
{
    return allocate (size);
}

void* operator new[] (std::size_t size)
{
    return allocate (size);
}

void operator delete (void* p) noexcept
{
    std::free (p);
}

void operator delete[] (void* p) noexcept
{
    std::free (p);
}

// Sized forms: code built with sized deallocation (the prebuilt test framework) calls these
// directly. Declared here because <new> only declares them when the compiler enables it.
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
