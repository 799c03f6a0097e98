// Owns the objects the host makes for the plug-in and finds them again from
// the interface pointers the plug-in hands back (a descriptor passed to
// AddEffect, a property map passed to SetProperties).
#pragma once

#include "HostObject.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
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

        /** Every object of type Object made so far, in the order they were made. */
        template <typename Object>
        std::vector<Object*> all() const
        {
            const std::lock_guard<std::mutex> guard (mLock);
            std::vector<Object*> result;
            for (const auto& object : mObjects)
                if (auto* match = dynamic_cast<Object*> (object.get()))
                    result.push_back (match);
            return result;
        }

        /** Objects (and their parts) that still hold references, or received too many releases. */
        std::vector<const HostObjectBase*> unbalancedObjects() const
        {
            const std::lock_guard<std::mutex> guard (mLock);
            std::vector<const HostObjectBase*> result;
            for (const auto& object : mObjects)
                collectUnbalanced (*object, result);
            return result;
        }

        /** The unbalanced objects as text, "" when every reference was given back. */
        std::string unbalancedReport() const
        {
            std::string report;
            for (const auto* object : unbalancedObjects())
                report += object->kind() + " (references " + std::to_string (object->references())
                        + ", over-released " + std::to_string (object->overReleases()) + "); ";
            return report;
        }

        std::size_t size() const
        {
            const std::lock_guard<std::mutex> guard (mLock);
            return mObjects.size();
        }

    private:
        static void collectUnbalanced (const HostObjectBase& object, std::vector<const HostObjectBase*>& result)
        {
            if (object.references() != 0 || object.overReleases() != 0)
                result.push_back (&object);
            for (const auto* part : object.parts())
                collectUnbalanced (*part, result);
        }

        mutable std::mutex mLock;
        std::vector<std::unique_ptr<HostObjectBase>> mObjects;
        std::map<const void*, HostObjectBase*> mByAddress;
    };
}
