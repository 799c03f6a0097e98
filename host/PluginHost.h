// The stand-in host's side of registration: it owns the host unknown and
// every object made for the plug-in, starts the bundle up, has it register
// (recording the description) and shuts it down again.
#pragma once

#include "DescriptionRecord.h"
#include "HostServices.h"
#include "HostUnknown.h"
#include "InterfaceVersions.h"
#include "ObjectRegistry.h"

#include <memory>

namespace zelkhost
{
    class PluginBundle;

    struct Registration
    {
        acfResult result = ACF_E_UNEXPECTED;
        bool receivedDefinition = false;    ///< the plug-in handed back the host's plug-in definition
        RecordedDescription description;    ///< what the collection recorded (empty when none was made)
    };

    class PluginHost
    {
    public:
        explicit PluginHost (HostOptions options = {});
        ~PluginHost();

        PluginHost (const PluginHost&) = delete;
        PluginHost& operator= (const PluginHost&) = delete;

        /** Options may be changed between calls to withhold or break interfaces. */
        HostOptions& options() noexcept { return mOptions; }

        IACFUnknown* unknown() noexcept { return &mUnknown; }
        IACFComponentFactory* componentFactory() noexcept { return &mFactory; }
        HostServices& services() noexcept { return mServices; }
        ObjectRegistry& registry() noexcept { return mRegistry; }

        acfResult startup (const PluginBundle& bundle);
        acfResult shutdown (const PluginBundle& bundle);

        /** ACFRegisterPlugin with this host; the definition handed back is released again. */
        Registration registerPlugin (const PluginBundle& bundle);

    private:
        HostOptions mOptions;
        ObjectRegistry mRegistry;
        HostServices mServices;
        HostComponentFactory mFactory;
        HostPluginDefinition mPluginDefinition;
        HostDescriptionHost mDescriptionHost;
        HostDefinition mDefinition;
        HostUnknown mUnknown;
    };
}
