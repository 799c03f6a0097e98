#pragma once

#include <cstdint>

namespace testsupport
{
namespace detail
{
struct ThreadAllocationCounts
{
    int countingDepth = 0;
    std::int64_t allocations = 0;
    std::int64_t deallocations = 0;
};

inline thread_local ThreadAllocationCounts threadAllocationCounts;
} // namespace detail

/**
    Counts the heap allocations and deallocations that the calling thread makes
    through the global operator new and delete while an instance is alive.
    Other threads are not counted, so work done on a helper thread at the same
    time does not disturb the result.

    The counting operators live in AllocationCounter.cpp, which replaces the
    global operator new and delete; that file must be linked into the test
    program. isInstalled() tells whether it is, so a test can refuse to pass
    vacuously.

        testsupport::AllocationCounter counter;
        codeThatMustNotAllocate();
        EXPECT_EQ (counter.getNumAllocations(), 0);
*/
class AllocationCounter
{
public:
    AllocationCounter() noexcept
        : allocationsAtStart (counts().allocations),
          deallocationsAtStart (counts().deallocations)
    {
        ++counts().countingDepth;
    }

    ~AllocationCounter() { --counts().countingDepth; }

    AllocationCounter (const AllocationCounter&) = delete;
    AllocationCounter& operator= (const AllocationCounter&) = delete;

    std::int64_t getNumAllocations() const noexcept { return counts().allocations - allocationsAtStart; }
    std::int64_t getNumDeallocations() const noexcept { return counts().deallocations - deallocationsAtStart; }

    /** True when malloc and its kin are counted too (not in sanitizer builds,
        whose runtimes replace them). */
    static bool countsCAllocations() noexcept;

    /** True when the counting operators are linked into this program. */
    static bool isInstalled()
    {
        AllocationCounter probe;
        void* volatile block = ::operator new (16);
        ::operator delete (block);
        return probe.getNumAllocations() == 1 && probe.getNumDeallocations() == 1;
    }

private:
    static detail::ThreadAllocationCounts& counts() noexcept { return detail::threadAllocationCounts; }

    const std::int64_t allocationsAtStart;
    const std::int64_t deallocationsAtStart;
};
} // namespace testsupport
