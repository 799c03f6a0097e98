// The host interface library linked into a test program, driven by the host
// kit as if it were a loaded bundle: its entry points, and the host's
// start-up of it for the length of a scope.
#pragma once

#include "AAX_Exports.h"
#include "PluginBundle.h"
#include "PluginHost.h"

namespace testsupport
{
    inline zelkhost::BundleEntryPoints linkedEntryPoints()
    {
        zelkhost::BundleEntryPoints entry;
        entry.registerPlugin = &ACFRegisterPlugin;
        entry.registerComponent = &ACFRegisterComponent;
        entry.getClassFactory = &ACFGetClassFactory;
        entry.canUnloadNow = &ACFCanUnloadNow;
        entry.startup = &ACFStartup;
        entry.shutdown = &ACFShutdown;
        entry.getSDKVersion = &ACFGetSDKVersion;
        return entry;
    }

    /** ACFStartup with the host for its lifetime, ACFShutdown after. */
    class ScopedStartup
    {
    public:
        explicit ScopedStartup (zelkhost::PluginHost& host) : mHost (host)
        {
            mBundle.useLinked (linkedEntryPoints());
            mHost.startup (mBundle);
        }

        ~ScopedStartup() { mHost.shutdown (mBundle); }

        ScopedStartup (const ScopedStartup&) = delete;
        ScopedStartup& operator= (const ScopedStartup&) = delete;

    private:
        zelkhost::PluginHost& mHost;
        zelkhost::PluginBundle mBundle;
    };
}
