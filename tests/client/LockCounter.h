// Counts the mutex locks the calling thread takes while a LockCounter is
// alive, the way AllocationCounter counts heap allocations: LockCounter.cpp
// stands in for pthread_mutex_lock and pthread_mutex_trylock and forwards to
// the system's. Sanitizer builds, whose runtimes own those calls, count
// nothing; isInstalled() then says so.
#pragma once

#include <cstdint>

namespace clienttest
{
    class LockCounter
    {
    public:
        LockCounter() noexcept;
        ~LockCounter();

        LockCounter (const LockCounter&) = delete;
        LockCounter& operator= (const LockCounter&) = delete;

        std::int64_t getNumLocks() const noexcept;

        /** True when this program counts locks. */
        static bool isInstalled();

    private:
        const std::int64_t locksAtStart;
    };
}
