// Owns the objects the host makes for the plug-in and finds them again from
// the interface pointers the plug-in hands back (a descriptor passed to
// AddEffect, a property map passed to SetProperties).
#pragma once

#include "HostObject.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace zelkhost
{
    class ObjectRegistry
    {
    public:
        template <typename Object, typename... Arguments>
        Object& make (Arguments&&... arguments)
        {
            auto object = std::make_unique<Object> (std::forward<Arguments> (arguments)...);
            auto& result = *object;
            const std::lock_guard<std::mutex> guard (mLock);
            mByAddress[object->interfaceAddress()] = object.get();
            mObjects.push_back (std::move (object));
            return result;
        }

        /** The host object of type Object behind an interface pointer, or null
            when the pointer is not one of this host's objects of that type. */
        template <typename Object>
        Object* find (const void* interfacePointer) const
        {
            const std::lock_guard<std::mutex> guard (mLock);
            const auto found = mByAddress.find (interfacePointer);
            return found != mByAddress.end() ? dynamic_cast<Object*> (found->second) : nullptr;
        }

        /** Objects that still hold references, or received too many releases. */
        std::vector<const HostObjectBase*> unbalancedObjects() const
        {
            const std::lock_guard<std::mutex> guard (mLock);
            std::vector<const HostObjectBase*> result;
            for (const auto& object : mObjects)
                if (object->references() != 0 || object->overReleases() != 0)
                    result.push_back (object.get());
            return result;
        }

        std::size_t size() const
        {
            const std::lock_guard<std::mutex> guard (mLock);
            return mObjects.size();
        }

    private:
        mutable std::mutex mLock;
        std::vector<std::unique_ptr<HostObjectBase>> mObjects;
        std::map<const void*, HostObjectBase*> mByAddress;
    };
}
