#include "LockCounter.h"

#include <dlfcn.h>
#include <pthread.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define ZELK_COUNT_LOCKS 0
#elif defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(realtime_sanitizer)
  #define ZELK_COUNT_LOCKS 0
 #endif
#endif
#ifndef ZELK_COUNT_LOCKS
 #define ZELK_COUNT_LOCKS 1
#endif

namespace
{
    struct ThreadLockCounts
    {
        int countingDepth = 0;
        std::int64_t locks = 0;
    };

    thread_local ThreadLockCounts threadLockCounts;

    [[maybe_unused]] void noteLock() noexcept
    {
        if (threadLockCounts.countingDepth > 0)
            ++threadLockCounts.locks;
    }
}

#if ZELK_COUNT_LOCKS
extern "C"
{
    int pthread_mutex_lock (pthread_mutex_t* mutex)
    {
        using Lock = int (*) (pthread_mutex_t*);
        static const auto systemLock = reinterpret_cast<Lock> (dlsym (RTLD_NEXT, "pthread_mutex_lock"));
        noteLock();
        return systemLock (mutex);
    }

    int pthread_mutex_trylock (pthread_mutex_t* mutex)
    {
        using Lock = int (*) (pthread_mutex_t*);
        static const auto systemTryLock = reinterpret_cast<Lock> (dlsym (RTLD_NEXT, "pthread_mutex_trylock"));
        noteLock();
        return systemTryLock (mutex);
    }
}
#endif

namespace clienttest
{
    LockCounter::LockCounter() noexcept : locksAtStart (threadLockCounts.locks) { ++threadLockCounts.countingDepth; }
    LockCounter::~LockCounter() { --threadLockCounts.countingDepth; }

    std::int64_t LockCounter::getNumLocks() const noexcept { return threadLockCounts.locks - locksAtStart; }

    bool LockCounter::isInstalled()
    {
        pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
        LockCounter probe;
        pthread_mutex_lock (&mutex);
        pthread_mutex_unlock (&mutex);
        return probe.getNumLocks() == 1;
    }
}
