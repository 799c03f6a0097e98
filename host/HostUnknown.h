// The host's root objects as the plug-in meets them: the host unknown handed
// to the entry points, and what it answers by QueryInterface: the component
// factory, the plug-in definition, the description host (with its feature
// info) and the definition interface.
#pragma once

#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFFeatureInfo.h"
#include "HostObject.h"
#include "IACFComponentFactory.h"
#include "IACFDefinition.h"
#include "IACFPluginDefinition.h"
#include "InterfaceVersions.h"
#include "ObjectRegistry.h"

namespace zelkhost
{
    class HostServices;
    class HostCollection;

    class HostComponentFactory final : public HostObject<IACFComponentFactory>
    {
    public:
        HostComponentFactory (ObjectRegistry& registry, const HostOptions& options, HostServices& services,
                              AAX_IACFDescriptionHost& descriptionHost);

        acfResult CreateComponent (const acfCLSID& componentID, IACFUnknown* outer, const acfIID& iid, void** out) override;

        /** The collection made most recently (the one of the last registration), or null. */
        HostCollection* lastCollection() const noexcept { return mLastCollection; }

    protected:
        void* answers (const acfIID& iid) override;

    private:
        ObjectRegistry& mRegistry;
        const HostOptions& mOptions;
        HostServices& mServices;
        AAX_IACFDescriptionHost& mDescriptionHost;
        HostCollection* mLastCollection = nullptr;
    };

    class HostPluginDefinition final : public HostObject<IACFPluginDefinition>
    {
    public:
        HostPluginDefinition() : HostObject ("plug-in definition") {}
        acfResult InitializePlugin (IACFUnknown*) override { return ACF_OK; }

    protected:
        void* answers (const acfIID& iid) override;
    };

    class HostDefinition final : public HostObject<IACFDefinition>
    {
    public:
        HostDefinition() : HostObject ("definition") {}
        acfResult GetAttribute (const acfUID&, acfUInt32, void*) override;

    protected:
        void* answers (const acfIID& iid) override;
    };

    class HostFeatureInfo final : public HostObject<AAX_IACFFeatureInfo>
    {
    public:
        HostFeatureInfo (ObjectRegistry& registry, const HostOptions& options);

        AAX_Result SupportLevel (AAX_ESupportLevel* level) const override;
        AAX_Result AcquireProperties (IACFUnknown** properties) override;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        ObjectRegistry& mRegistry;
        const HostOptions& mOptions;
    };

    /** Answers every feature request with "not supported" and an empty property map. */
    class HostDescriptionHost final : public HostObject<AAX_IACFDescriptionHost>
    {
    public:
        HostDescriptionHost (ObjectRegistry& registry, const HostOptions& options);

        AAX_Result AcquireFeatureProperties (const AAX_Feature_UID& featureID, IACFUnknown** featureInfo) override;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        ObjectRegistry& mRegistry;
        const HostOptions& mOptions;
    };

    class HostUnknown final : public HostObject<IACFUnknown>
    {
    public:
        HostUnknown (const HostOptions& options, HostComponentFactory& factory, HostPluginDefinition& pluginDefinition,
                     HostDescriptionHost& descriptionHost, HostDefinition& definition);

    protected:
        void* answers (const acfIID& iid) override;

    private:
        /** Hands out another object's interface: the reference goes to that object. */
        template <typename Interface>
        void* delegate (Interface& object);

        const HostOptions& mOptions;
        HostComponentFactory& mFactory;
        HostPluginDefinition& mPluginDefinition;
        HostDescriptionHost& mDescriptionHost;
        HostDefinition& mDefinition;
    };
}
