// Reference-counted base of every object the library hands to the host.
//
// The object's IACFUnknown calls are routed through its outer unknown, which
// is always the object's own private unknown; the private unknown forwards
// to InternalQueryInterface / InternalAddRef / InternalRelease. A class that
// derives from an ACF interface and from CACFUnknown puts
// ACF_DECLARE_STANDARD_UNKNOWN() in its body to implement QueryInterface,
// AddRef and Release that way, and overrides InternalQueryInterface to
// answer its own interface IDs (falling back to this class's version).
//
// Every existing CACFUnknown counts as one live object; ACFCanUnloadNow
// reports that count.
#pragma once

#include "IACFUnknown.h"

#include <atomic>

class CACFUnknown
{
public:
    /** The IACFUnknown that stands for the object towards the host. */
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown (CACFUnknown& owner) noexcept : mOwner (&owner) {}

        acfResult QueryInterface (const acfIID& iid, void** ppOut) override;
        acfUInt32 AddRef() override;
        acfUInt32 Release() override;

    private:
        CACFUnknown* mOwner;
    };

    CACFUnknown();
    virtual ~CACFUnknown();

    CACFUnknown (const CACFUnknown&) = delete;
    CACFUnknown& operator= (const CACFUnknown&) = delete;

    /** Called once after construction by code that creates objects for the host. */
    virtual acfResult FinalConstructHook();
    /** Called when the last reference goes, just before DeleteThis. */
    virtual void FinalReleaseHook();
    /** Deletes the object. */
    virtual void DeleteThis();

    /** Answers IID_IACFUnknown with the private unknown (one reference
        added); any other ID gives ACF_E_NOINTERFACE and a null pointer. */
    virtual acfResult InternalQueryInterface (const acfIID& iid, void** ppOut);
    /** Atomically adds a reference; returns the new count. */
    virtual acfUInt32 InternalAddRef();
    /** Atomically drops a reference; at 0 runs FinalReleaseHook and
        DeleteThis. A Release on an object without references does nothing. */
    virtual acfUInt32 InternalRelease();

    /** Number of CACFUnknown objects that currently exist in the process. */
    static acfUInt32 GetActiveObjectCount();

    IACFUnknown* GetOuterUnknown() const noexcept { return mOuterUnknown; }

private:
    std::atomic<acfUInt32> mReferenceCount { 0 };
    IACFUnknown* mOuterUnknown;
    PrivateUnknown mPrivateUnknown;
};

/** Implements IACFUnknown's three operations of a class deriving from
    CACFUnknown by forwarding them to the object's outer unknown. */
#define ACF_DECLARE_STANDARD_UNKNOWN()                                                        \
    acfResult QueryInterface (const acfIID& iid, void** ppOut) override                      \
    {                                                                                         \
        return CACFUnknown::GetOuterUnknown()->QueryInterface (iid, ppOut);                  \
    }                                                                                         \
    acfUInt32 AddRef() override  { return CACFUnknown::GetOuterUnknown()->AddRef(); }         \
    acfUInt32 Release() override { return CACFUnknown::GetOuterUnknown()->Release(); }
