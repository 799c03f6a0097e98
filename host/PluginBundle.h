// The plug-in bundle as a loaded shared library: dlopen with local symbols,
// the seven exported ACF entry points resolved by name, and an unload that
// only happens when the bundle says it may be unloaded.
#pragma once

#include "AAX.h"

#include <string>

class IACFPluginDefinition;
class IACFComponentDefinition;

namespace zelkhost
{
    struct BundleEntryPoints
    {
        acfResult (*registerPlugin) (IACFUnknown*, IACFPluginDefinition**) = nullptr;
        acfResult (*registerComponent) (IACFUnknown*, acfUInt32, IACFComponentDefinition**) = nullptr;
        acfResult (*getClassFactory) (IACFUnknown*, const acfCLSID&, const acfIID&, void**) = nullptr;
        acfResult (*canUnloadNow) (IACFUnknown*) = nullptr;
        acfResult (*startup) (IACFUnknown*) = nullptr;
        acfResult (*shutdown) (IACFUnknown*) = nullptr;
        acfResult (*getSDKVersion) (acfUInt64*) = nullptr;
    };

    class PluginBundle
    {
    public:
        PluginBundle() = default;

        /** Unloads the bundle if it reports that it may be unloaded; a bundle
            with live objects stays mapped (its code may still be running). */
        ~PluginBundle();

        PluginBundle (const PluginBundle&) = delete;
        PluginBundle& operator= (const PluginBundle&) = delete;

        /** Loads the bundle and resolves every entry point. On failure returns
            false, says why in error, and leaves nothing loaded. */
        bool load (const std::string& path, std::string& error);

        /** Takes the entry points of a plug-in library linked into this program
            (the tests link the host interface library itself) instead of a
            bundle; unloading only lets go of them. */
        void useLinked (const BundleEntryPoints& entryPoints);

        bool isLoaded() const noexcept { return mHandle != nullptr || mLinked; }
        const std::string& path() const noexcept { return mPath; }
        const BundleEntryPoints& entryPoints() const noexcept { return mEntryPoints; }

        /** ACFCanUnloadNow: the number of the bundle's live objects (0: may unload). */
        acfResult canUnloadNow (IACFUnknown* host) const;

        /** Closes the bundle when ACFCanUnloadNow answers 0; returns whether it did. */
        bool unload();

    private:
        void* mHandle = nullptr;
        bool mLinked = false;
        std::string mPath;
        BundleEntryPoints mEntryPoints;
    };
}
