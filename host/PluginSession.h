// A loaded and registered plug-in bundle: loads it, starts it up with a
// host, registers it (keeping the description), and at the end shuts it
// down and unloads it once it reports that nothing of it is alive.
#pragma once

#include "PluginBundle.h"
#include "PluginHost.h"

#include <string>

namespace zelkhost
{
    class PluginSession
    {
    public:
        explicit PluginSession (HostOptions options = {});

        /** Shuts down and unloads (see close()). */
        ~PluginSession();

        PluginSession (const PluginSession&) = delete;
        PluginSession& operator= (const PluginSession&) = delete;

        /** Loads, starts and registers the bundle; false with a reason when any
            step fails or the bundle describes no effect. */
        bool open (const std::string& bundlePath, std::string& error);

        /** The same with the entry points of a plug-in library linked into this
            program instead of a bundle. */
        bool open (const BundleEntryPoints& linked, std::string& error);

        /** Shuts the bundle down and unloads it when it may be unloaded.
            Returns the bundle's live-object count at that point (0 is clean). */
        acfResult close();

        PluginHost& host() noexcept { return mHost; }
        PluginBundle& bundle() noexcept { return mBundle; }
        const Registration& registration() const noexcept { return mRegistration; }

        /** The first registered effect (open() guarantees there is one). */
        const RecordedEffect& effect() const { return mRegistration.description.effects.front(); }

        /** The bundle next to the running program, else the path built in (may be empty). */
        static std::string defaultBundlePath();

    private:
        bool startAndRegister (std::string& error);

        PluginHost mHost;
        PluginBundle mBundle;
        Registration mRegistration;
        bool mStarted = false;
    };
}
