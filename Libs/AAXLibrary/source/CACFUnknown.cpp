#include "CACFUnknown.h"

#include "AAX_UIDs.h"

namespace
{
    std::atomic<int32_t> liveObjectCount { 0 };
}

// ---------------------------------------------------------------------------
acfResult CACFUnknown::PrivateUnknown::QueryInterface (const acfIID& iid, void** ppOut)
{
    return mOwner->InternalQueryInterface (iid, ppOut);
}

acfUInt32 CACFUnknown::PrivateUnknown::AddRef()
{
    return mOwner->InternalAddRef();
}

acfUInt32 CACFUnknown::PrivateUnknown::Release()
{
    return mOwner->InternalRelease();
}

// ---------------------------------------------------------------------------
CACFUnknown::CACFUnknown()
    : mOuterUnknown (&mPrivateUnknown), mPrivateUnknown (*this)
{
    liveObjectCount.fetch_add (1);
}

CACFUnknown::~CACFUnknown()
{
    liveObjectCount.fetch_sub (1);
}

acfResult CACFUnknown::FinalConstructHook()
{
    return ACF_OK;
}

void CACFUnknown::FinalReleaseHook()
{
}

void CACFUnknown::DeleteThis()
{
    delete this;
}

acfResult CACFUnknown::InternalQueryInterface (const acfIID& iid, void** ppOut)
{
    if (ppOut == nullptr)
        return ACF_E_NOINTERFACE;

    *ppOut = nullptr;

    if (iid == IID_IACFUnknown)
    {
        *ppOut = static_cast<IACFUnknown*> (&mPrivateUnknown);
        mPrivateUnknown.AddRef();
        return ACF_OK;
    }

    return ACF_E_NOINTERFACE;
}

acfUInt32 CACFUnknown::InternalAddRef()
{
    return mReferenceCount.fetch_add (1) + 1;
}

acfUInt32 CACFUnknown::InternalRelease()
{
    // A Release without a matching reference is ignored rather than letting
    // the count wrap around (which would keep the object alive forever).
    acfUInt32 current = mReferenceCount.load();
    do
    {
        if (current == 0)
            return 0;
    }
    while (! mReferenceCount.compare_exchange_weak (current, current - 1));

    const acfUInt32 remaining = current - 1;
    if (remaining == 0)
    {
        FinalReleaseHook();
        DeleteThis();
    }

    return remaining;
}

acfUInt32 CACFUnknown::GetActiveObjectCount()
{
    return static_cast<acfUInt32> (liveObjectCount.load());
}
