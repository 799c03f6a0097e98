// Replaces the global operator new and delete so that AllocationCounter can
// count what a thread allocates. Every form forwards to malloc / free, and each
// allocation or deallocation is counted exactly once.

#include "support/AllocationCounter.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace
{
void noteAllocation() noexcept
{
    auto& counts = testsupport::detail::threadAllocationCounts;

    if (counts.countingDepth > 0)
        ++counts.allocations;
}

void noteDeallocation() noexcept
{
    auto& counts = testsupport::detail::threadAllocationCounts;

    if (counts.countingDepth > 0)
        ++counts.deallocations;
}

void* tryAllocate (std::size_t size, std::size_t alignment) noexcept
{
    size = std::max<std::size_t> (size, 1);

    if (alignment <= alignof (std::max_align_t))
        return std::malloc (size);

    void* block = nullptr;
    const auto usableAlignment = std::max (alignment, sizeof (void*));
    return posix_memalign (&block, usableAlignment, size) == 0 ? block : nullptr;
}

void* allocateOrThrow (std::size_t size, std::size_t alignment)
{
    noteAllocation();

    for (;;)
    {
        if (auto* block = tryAllocate (size, alignment))
            return block;

        if (auto handler = std::get_new_handler())
            handler();
        else
            throw std::bad_alloc();
    }
}

void* allocateOrNull (std::size_t size, std::size_t alignment) noexcept
{
    try
    {
        return allocateOrThrow (size, alignment);
    }
    catch (...)
    {
        return nullptr;
    }
}

void release (void* block) noexcept
{
    if (block == nullptr)
        return;

    noteDeallocation();
    std::free (block);
}

constexpr std::size_t defaultAlignment = alignof (std::max_align_t);
} // namespace

void* operator new (std::size_t size) { return allocateOrThrow (size, defaultAlignment); }
void* operator new[] (std::size_t size) { return allocateOrThrow (size, defaultAlignment); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull (size, defaultAlignment); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull (size, defaultAlignment); }

void* operator new (std::size_t size, std::align_val_t alignment) { return allocateOrThrow (size, (std::size_t) alignment); }
void* operator new[] (std::size_t size, std::align_val_t alignment) { return allocateOrThrow (size, (std::size_t) alignment); }
void* operator new (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept { return allocateOrNull (size, (std::size_t) alignment); }
void* operator new[] (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept { return allocateOrNull (size, (std::size_t) alignment); }

void operator delete (void* block) noexcept { release (block); }
void operator delete[] (void* block) noexcept { release (block); }
void operator delete (void* block, std::size_t) noexcept { release (block); }
void operator delete[] (void* block, std::size_t) noexcept { release (block); }
void operator delete (void* block, const std::nothrow_t&) noexcept { release (block); }
void operator delete[] (void* block, const std::nothrow_t&) noexcept { release (block); }

void operator delete (void* block, std::align_val_t) noexcept { release (block); }
void operator delete[] (void* block, std::align_val_t) noexcept { release (block); }
void operator delete (void* block, std::size_t, std::align_val_t) noexcept { release (block); }
void operator delete[] (void* block, std::size_t, std::align_val_t) noexcept { release (block); }
void operator delete (void* block, std::align_val_t, const std::nothrow_t&) noexcept { release (block); }
void operator delete[] (void* block, std::align_val_t, const std::nothrow_t&) noexcept { release (block); }
