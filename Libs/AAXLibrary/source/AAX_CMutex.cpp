#include "AAX_CMutex.h"

AAX_CMutex::AAX_CMutex()
    : mRecord (new Record())
{
    if (pthread_mutex_init (&mRecord->mutex, nullptr) != 0)
        mRecord.reset();
}

AAX_CMutex::~AAX_CMutex()
{
    if (mRecord != nullptr)
        pthread_mutex_destroy (&mRecord->mutex);
}

bool AAX_CMutex::CallerOwns() const
{
    // Only the owner thread ever stores its own identity, so a thread reads
    // its own identity here exactly when it holds the mutex.
    return mRecord->owned.load (std::memory_order_acquire)
        && pthread_equal (pthread_self(), mRecord->owner.load (std::memory_order_acquire)) != 0;
}

bool AAX_CMutex::Lock()
{
    if (mRecord == nullptr || CallerOwns())
        return false;

    if (pthread_mutex_lock (&mRecord->mutex) != 0)
        return false;

    mRecord->owner.store (pthread_self(), std::memory_order_release);
    mRecord->owned.store (true, std::memory_order_release);
    return true;
}

void AAX_CMutex::Unlock()
{
    if (mRecord == nullptr || ! CallerOwns())
        return;

    mRecord->owned.store (false, std::memory_order_release);
    mRecord->owner.store (pthread_t(), std::memory_order_release);
    pthread_mutex_unlock (&mRecord->mutex);
}
