// Replaces the global operator new and delete, and (outside sanitizer builds,
// whose runtimes own malloc) the C allocation functions too, so that
// AllocationCounter can count what a thread allocates: JUCE's own containers
// allocate with malloc, not new. Every operator new forwards to malloc / free,
// and each allocation or deallocation is counted exactly once.

#include "support/AllocationCounter.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define ZELK_COUNT_C_ALLOCATIONS 0
#elif defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(realtime_sanitizer)
  #define ZELK_COUNT_C_ALLOCATIONS 0
 #endif
#endif
#ifndef ZELK_COUNT_C_ALLOCATIONS
 #define ZELK_COUNT_C_ALLOCATIONS 1
#endif

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
    if (! ZELK_COUNT_C_ALLOCATIONS)
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

    if (! ZELK_COUNT_C_ALLOCATIONS)
        noteDeallocation();
    std::free (block);
}

constexpr std::size_t defaultAlignment = alignof (std::max_align_t);
} // namespace

bool testsupport::AllocationCounter::countsCAllocations() noexcept { return ZELK_COUNT_C_ALLOCATIONS != 0; }

#if ZELK_COUNT_C_ALLOCATIONS
// glibc's own entry points, which the replacements below forward to.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);
void __libc_free (void*);

void* malloc (std::size_t size)
{
    noteAllocation();
    return __libc_malloc (size);
}

void* calloc (std::size_t count, std::size_t size)
{
    noteAllocation();
    return __libc_calloc (count, size);
}

void* realloc (void* block, std::size_t size)
{
    if (size > 0)
        noteAllocation();
    else if (block != nullptr)
        noteDeallocation();
    return __libc_realloc (block, size);
}

void free (void* block)
{
    if (block != nullptr)
        noteDeallocation();
    __libc_free (block);
}

int posix_memalign (void** result, std::size_t alignment, std::size_t size)
{
    noteAllocation();
    auto* block = __libc_memalign (alignment, size);
    if (block == nullptr)
        return ENOMEM;
    *result = block;
    return 0;
}

void* aligned_alloc (std::size_t alignment, std::size_t size)
{
    noteAllocation();
    return __libc_memalign (alignment, size);
}

void* memalign (std::size_t alignment, std::size_t size)
{
    noteAllocation();
    return __libc_memalign (alignment, size);
}
}
#endif

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
