#include "AAX_CMutex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace
{
    /** True when another thread cannot take the mutex within a short wait.
        The helper thread is left blocked; `pending` receives its future so
        the caller can release the mutex and join it. */
    bool IsHeldElsewhere (AAX_CMutex& mutex, std::future<bool>& pending)
    {
        pending = std::async (std::launch::async, [&mutex]
        {
            const bool locked = mutex.Lock();
            mutex.Unlock();
            return locked;
        });

        return pending.wait_for (std::chrono::milliseconds (50)) == std::future_status::timeout;
    }
}

TEST (MutexTests, OwnerRelockReturnsFalseAndOnlyTheOuterUnlockReleases)
{
    AAX_CMutex mutex;
    std::future<bool> other;

    ASSERT_TRUE (mutex.Lock());
    EXPECT_FALSE (mutex.Lock()); // the owner passes without a count

    mutex.Unlock(); // the owner's unlock releases at once: no recursion count
    EXPECT_TRUE (mutex.Lock());

    {
        AAX_StLock_Guard inner (mutex);
        EXPECT_FALSE (inner.OwnsLock());
    }

    EXPECT_TRUE (IsHeldElsewhere (mutex, other)); // the inner guard did not release
    mutex.Unlock();
    EXPECT_TRUE (other.get());
}

TEST (MutexTests, NestedGuardsReleaseOnlyWithTheOuterGuard)
{
    AAX_CMutex mutex;
    std::future<bool> other;

    {
        AAX_StLock_Guard outer (mutex);
        EXPECT_TRUE (outer.OwnsLock());

        {
            AAX_StLock_Guard inner (mutex);
            EXPECT_FALSE (inner.OwnsLock());
        }

        EXPECT_TRUE (IsHeldElsewhere (mutex, other));
    }

    EXPECT_TRUE (other.get());

    // Free again: a new outer guard takes it.
    AAX_StLock_Guard again (mutex);
    EXPECT_TRUE (again.OwnsLock());
}

TEST (MutexTests, UnlockFromAnotherThreadDoesNotReleaseTheOwnersLock)
{
    AAX_CMutex mutex;
    ASSERT_TRUE (mutex.Lock());

    std::thread intruder ([&mutex] { mutex.Unlock(); });
    intruder.join();

    std::future<bool> other;
    EXPECT_TRUE (IsHeldElsewhere (mutex, other));

    mutex.Unlock();
    EXPECT_TRUE (other.get());
}

TEST (MutexTests, GuardsExcludeEachOtherAcrossThreads)
{
    AAX_CMutex mutex;
    long counter = 0;
    constexpr int kThreads = 4;
    constexpr int kIncrements = 20000;

    std::vector<std::thread> threads;

    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back ([&]
        {
            for (int i = 0; i < kIncrements; ++i)
            {
                AAX_StLock_Guard guard (mutex);
                AAX_StLock_Guard nested (mutex);
                counter = counter + 1;
            }
        });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (counter, long (kThreads) * kIncrements);
}
