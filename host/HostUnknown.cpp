#include "HostUnknown.h"

#include "AAX_Errors.h"
#include "DescriptionObjects.h"
#include "HostServices.h"
#include "PageTable.h"

#include <stdexcept>

namespace zelkhost
{
    // =======================================================================
    HostComponentFactory::HostComponentFactory (ObjectRegistry& registry, const HostOptions& options, HostServices& services,
                                                AAX_IACFDescriptionHost& descriptionHost)
        : HostObject ("component factory"), mRegistry (registry), mOptions (options), mServices (services),
          mDescriptionHost (descriptionHost)
    {
    }

    acfResult HostComponentFactory::CreateComponent (const acfCLSID& componentID, IACFUnknown* outer, const acfIID& iid, void** out)
    {
        if (out == nullptr)
            return ACF_E_UNEXPECTED;
        *out = nullptr;

        if (mOptions.componentFactoryThrows)
            throw std::runtime_error ("the host's component factory is broken");
        if (outer != nullptr)
            return ACF_E_NOINTERFACE; // no aggregation

        const DescriptionHostContext context { mRegistry, mOptions };
        IACFUnknown* made = nullptr;
        const char* kind = "unknown component";

        if (componentID == AAXCompID_HostServices)
        {
            made = &mServices;
            kind = "host services";
        }
        else if (componentID == AAXCompID_AAXCollection)
        {
            mLastCollection = &mRegistry.make<HostCollection> (context);
            made = static_cast<AAX_IACFCollection*> (mLastCollection);
            kind = "collection";
        }
        else if (componentID == AAXCompID_EffectDescriptor)
        {
            made = static_cast<AAX_IACFEffectDescriptor*> (&mRegistry.make<HostEffectDescriptor> (context));
            kind = "effect descriptor";
        }
        else if (componentID == AAXCompID_ComponentDescriptor)
        {
            made = static_cast<AAX_IACFComponentDescriptor*> (&mRegistry.make<HostComponentDescriptor> (context));
            kind = "component descriptor";
        }
        else if (componentID == AAXCompID_PropertyMap)
        {
            made = static_cast<AAX_IACFPropertyMap*> (&mRegistry.make<HostPropertyMap> (mOptions, &mDescriptionHost));
            kind = "property map";
        }
        else if (componentID == AAXCompID_PageTable)
        {
            made = static_cast<AAX_IACFPageTable*> (&mRegistry.make<HostPageTable> (mOptions));
            kind = "page table";
        }

        logCall (std::string ("CreateComponent ") + kind);
        if (made == nullptr)
            return ACF_E_NOINTERFACE;
        return made->QueryInterface (iid, out);
    }

    void* HostComponentFactory::answers (const acfIID& iid)
    {
        return iid == IID_IACFComponentFactory ? as<IACFComponentFactory>() : nullptr;
    }

    // =======================================================================
    void* HostPluginDefinition::answers (const acfIID& iid)
    {
        return iid == IID_IACFPluginDefinition ? as<IACFPluginDefinition>() : nullptr;
    }

    acfResult HostDefinition::GetAttribute (const acfUID&, acfUInt32, void*)
    {
        return AAX_ERROR_UNIMPLEMENTED;
    }

    void* HostDefinition::answers (const acfIID& iid)
    {
        return iid == IID_IACFDefinition ? as<IACFDefinition>() : nullptr;
    }

    // =======================================================================
    HostFeatureInfo::HostFeatureInfo (ObjectRegistry& registry, const HostOptions& options)
        : HostObject ("feature info"), mRegistry (registry), mOptions (options)
    {
    }

    AAX_Result HostFeatureInfo::SupportLevel (AAX_ESupportLevel* level) const
    {
        if (level == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *level = 0; // not supported: the stand-in host has no optional features
        return AAX_SUCCESS;
    }

    AAX_Result HostFeatureInfo::AcquireProperties (IACFUnknown** properties)
    {
        if (properties == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        auto& map = mRegistry.make<HostPropertyMap> (mOptions);
        return map.QueryInterface (IID_IACFUnknown, reinterpret_cast<void**> (properties));
    }

    void* HostFeatureInfo::answers (const acfIID& iid)
    {
        return iid == IID_IAAXFeatureInfoV1 ? as<AAX_IACFFeatureInfo>() : nullptr;
    }

    HostDescriptionHost::HostDescriptionHost (ObjectRegistry& registry, const HostOptions& options)
        : HostObject ("description host"), mRegistry (registry), mOptions (options)
    {
    }

    AAX_Result HostDescriptionHost::AcquireFeatureProperties (const AAX_Feature_UID&, IACFUnknown** featureInfo)
    {
        if (featureInfo == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *featureInfo = nullptr;
        if (! mOptions.featureInfo)
            return AAX_ERROR_UNIMPLEMENTED;
        auto& info = mRegistry.make<HostFeatureInfo> (mRegistry, mOptions);
        return info.QueryInterface (IID_IACFUnknown, reinterpret_cast<void**> (featureInfo));
    }

    void* HostDescriptionHost::answers (const acfIID& iid)
    {
        return iid == IID_IAAXDescriptionHostV1 ? as<AAX_IACFDescriptionHost>() : nullptr;
    }

    // =======================================================================
    HostUnknown::HostUnknown (const HostOptions& options, HostComponentFactory& factory, HostPluginDefinition& pluginDefinition,
                              HostDescriptionHost& descriptionHost, HostDefinition& definition)
        : HostObject ("host unknown"), mOptions (options), mFactory (factory), mPluginDefinition (pluginDefinition),
          mDescriptionHost (descriptionHost), mDefinition (definition)
    {
    }

    template <typename Interface>
    void* HostUnknown::delegate (Interface& object)
    {
        return static_cast<Interface*> (&object);
    }

    void* HostUnknown::answers (const acfIID& iid)
    {
        if (iid == IID_IACFComponentFactory && mOptions.componentFactory)  return delegate<IACFComponentFactory> (mFactory);
        if (iid == IID_IACFPluginDefinition && mOptions.pluginDefinition)  return delegate<IACFPluginDefinition> (mPluginDefinition);
        if (iid == IID_IAAXDescriptionHostV1 && mOptions.descriptionHost)  return delegate<AAX_IACFDescriptionHost> (mDescriptionHost);
        if (iid == IID_IACFDefinition && mOptions.definition)              return delegate<IACFDefinition> (mDefinition);
        return nullptr;
    }
}
