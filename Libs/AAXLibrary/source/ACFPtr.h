// Owning pointer to one reference of a host ACF interface. The wrappers hold
// every host interface they obtain in one of these, so each reference they
// take is released exactly once, when the wrapper goes away.
#pragma once

#include "IACFComponentFactory.h"
#include "IACFUnknown.h"

#include <utility>

template <typename Interface>
class ACFPtr
{
public:
    ACFPtr() noexcept = default;

    /** Takes over one reference that the caller already holds. */
    explicit ACFPtr (Interface* adoptedReference) noexcept : mPointer (adoptedReference) {}

    ~ACFPtr() { reset(); }

    ACFPtr (ACFPtr&& other) noexcept : mPointer (std::exchange (other.mPointer, nullptr)) {}

    ACFPtr& operator= (ACFPtr&& other) noexcept
    {
        if (this != &other)
        {
            reset();
            mPointer = std::exchange (other.mPointer, nullptr);
        }
        return *this;
    }

    ACFPtr (const ACFPtr&) = delete;
    ACFPtr& operator= (const ACFPtr&) = delete;

    /** Releases the held reference (if any). */
    void reset() noexcept
    {
        if (auto* old = std::exchange (mPointer, nullptr))
            old->Release();
    }

    Interface* get() const noexcept        { return mPointer; }
    Interface* operator->() const noexcept { return mPointer; }
    explicit operator bool() const noexcept { return mPointer != nullptr; }

private:
    Interface* mPointer = nullptr;
};

/** Asks an object for an interface; empty when it is null or does not answer. */
template <typename Interface>
ACFPtr<Interface> QueryACFInterface (IACFUnknown* object, const acfIID& iid)
{
    if (object == nullptr)
        return {};

    void* answer = nullptr;
    if (object->QueryInterface (iid, &answer) != ACF_OK || answer == nullptr)
        return {};

    return ACFPtr<Interface> (static_cast<Interface*> (answer));
}

/** Has the host's component factory make a component; empty on failure. */
template <typename Interface>
ACFPtr<Interface> CreateACFComponent (IACFComponentFactory* factory, const acfCLSID& componentID, const acfIID& iid)
{
    if (factory == nullptr)
        return {};

    void* created = nullptr;
    if (factory->CreateComponent (componentID, nullptr, iid, &created) != ACF_OK || created == nullptr)
        return {};

    return ACFPtr<Interface> (static_cast<Interface*> (created));
}

/** Holds an extra reference to an object that the caller passed in. */
template <typename Interface>
ACFPtr<Interface> RetainACFObject (Interface* object)
{
    if (object != nullptr)
        object->AddRef();
    return ACFPtr<Interface> (object);
}
