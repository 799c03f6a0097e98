#pragma once

#include <atomic>
#include <memory>
#include <pthread.h>

/**
    An owner-aware mutex.

    A thread that already holds the mutex passes Lock() without blocking and
    gets false back, so that only its outermost Lock() (the one that returned
    true) is paired with an Unlock(). There is no recursion count: an Unlock()
    from the owner always releases the mutex.

    When the system mutex cannot be created the object stays without one and
    every operation does nothing (Lock() reports false).
*/
class AAX_CMutex
{
public:
    AAX_CMutex();
    ~AAX_CMutex();

    AAX_CMutex (const AAX_CMutex&) = delete;
    AAX_CMutex& operator= (const AAX_CMutex&) = delete;

    /** Takes the mutex; false when the calling thread already owned it or when
        the mutex could not be created. */
    bool Lock();

    /** Releases the mutex when the calling thread owns it; otherwise nothing. */
    void Unlock();

private:
    struct Record
    {
        // pthread_t is an integer or a pointer: both are lock-free atomics.
        std::atomic<pthread_t> owner { pthread_t() };
        std::atomic<bool> owned { false };
        pthread_mutex_t mutex;
    };

    bool CallerOwns() const;

    std::unique_ptr<Record> mRecord;
};

/** Holds an AAX_CMutex for the lifetime of the guard, unless the calling
    thread held it already, in which case the outer holder keeps releasing it. */
class AAX_StLock_Guard
{
public:
    explicit AAX_StLock_Guard (AAX_CMutex& mutex)
        : mMutex (mutex), mLocked (mutex.Lock())
    {
    }

    ~AAX_StLock_Guard()
    {
        if (mLocked)
            mMutex.Unlock();
    }

    AAX_StLock_Guard (const AAX_StLock_Guard&) = delete;
    AAX_StLock_Guard& operator= (const AAX_StLock_Guard&) = delete;

    /** True when this guard took the lock and will release it. */
    bool OwnsLock() const { return mLocked; }

private:
    AAX_CMutex& mMutex;
    const bool mLocked;
};
