// The stand-in host's side of registration: it owns the host unknown and
// every object made for the plug-in, starts the bundle up, has it register
// (recording the description) and shuts it down again.
#pragma once

#include "DescriptionRecord.h"
#include "HostServices.h"
#include "HostUnknown.h"
#include "InstanceObjects.h"
#include "InterfaceVersions.h"
#include "ObjectRegistry.h"

#include <memory>
#include <string>

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
        HostComponentFactory& factory() noexcept { return mFactory; }
        HostServices& services() noexcept { return mServices; }
        ObjectRegistry& registry() noexcept { return mRegistry; }
        HostPluginDefinition& pluginDefinition() noexcept { return mPluginDefinition; }
        HostDescriptionHost& descriptionHost() noexcept { return mDescriptionHost; }
        HostDefinition& definition() noexcept { return mDefinition; }

        /** A controller unknown for one instance, kept (like every host object)
            for the host's lifetime. */
        HostController& makeController (const InstanceOptions& options, std::string effectID = {},
                                        AAX_EStemFormat inputStemFormat = stereoStemFormat,
                                        AAX_EStemFormat outputStemFormat = stereoStemFormat);

        static constexpr AAX_EStemFormat stereoStemFormat = (1 << 16) | 2;

        acfResult startup (const PluginBundle& bundle);
        acfResult shutdown (const PluginBundle& bundle);

        /** ACFRegisterPlugin with this host; the definition handed back is released again. */
        Registration registerPlugin (const PluginBundle& bundle);

    private:
        HostOptions mOptions;
        ObjectRegistry mRegistry;
        HostServices mServices;
        HostDescriptionHost mDescriptionHost;
        HostComponentFactory mFactory;
        HostPluginDefinition mPluginDefinition;
        HostDefinition mDefinition;
        HostUnknown mUnknown;
    };
}
