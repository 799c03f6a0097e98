#include "PluginHost.h"

#include "DescriptionObjects.h"
#include "PluginBundle.h"

namespace zelkhost
{
    PluginHost::PluginHost (HostOptions options)
        : mOptions (options),
          mServices (mOptions),
          mDescriptionHost (mRegistry, mOptions),
          mFactory (mRegistry, mOptions, mServices, mDescriptionHost),
          mUnknown (mOptions, mFactory, mPluginDefinition, mDescriptionHost, mDefinition)
    {
    }

    PluginHost::~PluginHost() = default;

    HostController& PluginHost::makeController (const InstanceOptions& options, std::string effectID,
                                                AAX_EStemFormat inputStemFormat, AAX_EStemFormat outputStemFormat)
    {
        return mRegistry.make<HostController> (options, mRegistry, mFactory, std::move (effectID), inputStemFormat, outputStemFormat);
    }

    acfResult PluginHost::startup (const PluginBundle& bundle)
    {
        return bundle.isLoaded() ? bundle.entryPoints().startup (unknown()) : ACF_E_UNEXPECTED;
    }

    acfResult PluginHost::shutdown (const PluginBundle& bundle)
    {
        return bundle.isLoaded() ? bundle.entryPoints().shutdown (unknown()) : ACF_E_UNEXPECTED;
    }

    Registration PluginHost::registerPlugin (const PluginBundle& bundle)
    {
        Registration registration;
        if (! bundle.isLoaded())
            return registration;

        auto* const collectionBefore = mFactory.lastCollection();

        IACFPluginDefinition* definition = nullptr;
        registration.result = bundle.entryPoints().registerPlugin (unknown(), &definition);

        if (definition != nullptr)
        {
            registration.receivedDefinition = definition == static_cast<IACFPluginDefinition*> (&mPluginDefinition);
            definition->Release();
        }

        if (auto* collection = mFactory.lastCollection(); collection != nullptr && collection != collectionBefore)
            registration.description = collection->description();
        return registration;
    }
}
