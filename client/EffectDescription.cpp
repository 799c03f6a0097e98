#include "client/EffectDescription.h"

#include "AAX_CHostServices.h"
#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "AAX_Exports.h"
#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IPropertyMap.h"
#include "client/AlgorithmContext.h"
#include "client/EffectGUI.h"
#include "client/EffectIdentity.h"
#include "client/EffectParameters.h"
#include "client/JuceLibraryScope.h"
#include "client/ProcessProcedure.h"
#include "engine/MultiAudioProcessor.h"

#include <exception>
#include <memory>

namespace aaxclient
{
    namespace
    {
        /** Keeps the first failing result of a sequence of description calls. */
        class FirstFailure
        {
        public:
            void operator<< (AAX_Result result) noexcept
            {
                if (first == AAX_SUCCESS)
                    first = result;
            }

            AAX_Result result() const noexcept { return first; }

        private:
            AAX_Result first = AAX_SUCCESS;
        };

        struct StemPair
        {
            AAX_EStemFormat format;
            AAX_CTypeID nativeID;
            AAX_CTypeID audioSuiteID;
        };

        constexpr StemPair stemPairs[] = {
            { kStemFormatMono,   kPlugInIDNativeMono,   kPlugInIDAudioSuiteMono },
            { kStemFormatStereo, kPlugInIDNativeStereo, kPlugInIDAudioSuiteStereo }
        };

        juce::AudioChannelSet channelSetOf (AAX_EStemFormat format)
        {
            return format == kStemFormatMono ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        }

        bool processorSupports (juce::AudioProcessor& processor, AAX_EStemFormat input, AAX_EStemFormat output)
        {
            juce::AudioProcessor::BusesLayout layout;
            layout.inputBuses.add (channelSetOf (input));
            layout.outputBuses.add (channelSetOf (output));
            return processor.checkBusesLayoutSupported (layout);
        }

        /** A component is named by its input format's IDs: the processor only
            supports pairs of equal formats. */
        AAX_Result describeComponent (AAX_IComponentDescriptor& component, const StemPair& inputPair, const StemPair& outputPair)
        {
            FirstFailure failure;
            failure << component.AddAudioIn (kFieldInputChannels);
            failure << component.AddAudioOut (kFieldOutputChannels);
            failure << component.AddAudioBufferLength (kFieldBufferSize);
            failure << component.AddDataInPort (kFieldMasterBypass, kMasterBypassPacketSize);
            failure << component.AddPrivateData (kFieldInstance, static_cast<int32_t> (sizeof (InstanceInfo)));
            failure << component.AddPrivateData (kFieldPreparedFlag, kPreparedFlagSize);

            AAX_IPropertyMap* properties = component.NewPropertyMap();

            if (properties == nullptr)
                return AAX_ERROR_NULL_OBJECT;

            const ProcessProcedure procedure = &processAlgorithmInstances;

            failure << properties->AddProperty (kPropertyManufacturerID, static_cast<AAX_CPropertyValue> (kManufacturerID));
            failure << properties->AddProperty (kPropertyProductID, static_cast<AAX_CPropertyValue> (kProductID));
            failure << properties->AddProperty (AAX_eProperty_PlugInID_Native, static_cast<AAX_CPropertyValue> (inputPair.nativeID));
            failure << properties->AddProperty (AAX_eProperty_PlugInID_AudioSuite, static_cast<AAX_CPropertyValue> (inputPair.audioSuiteID));
            failure << properties->AddProperty (AAX_eProperty_InputStemFormat, inputPair.format);
            failure << properties->AddProperty (AAX_eProperty_OutputStemFormat, outputPair.format);
            failure << properties->AddPointer (AAX_eProperty_NativeProcessProc, reinterpret_cast<const void*> (procedure));
            failure << component.AddProcessProc (properties);

            return failure.result();
        }
    }

    //==============================================================================
    void* createEffectParametersObject() noexcept
    {
        try
        {
            auto* effect = new EffectParameters();
            return static_cast<IACFUnknown*> (static_cast<AAX_IACFEffectParameters*> (effect));
        }
        catch (...)
        {
            return nullptr;
        }
    }

    void* createEffectGUIObject() noexcept
    {
        try
        {
            auto* gui = new EffectGUI();
            return static_cast<IACFUnknown*> (static_cast<AAX_IACFEffectGUI*> (gui));
        }
        catch (...)
        {
            return nullptr;
        }
    }

    AAX_Result describeEffect (AAX_IEffectDescriptor& descriptor, juce::AudioProcessor& processor)
    {
        FirstFailure failure;
        failure << descriptor.AddName (kEffectLongName);
        failure << descriptor.AddName (kEffectShortName);
        failure << descriptor.AddCategory (kCategoryHarmonic);
        failure << descriptor.AddProcPtr (reinterpret_cast<void*> (&createEffectParametersObject), kAAX_ProcPtrID_Create_EffectParameters);
        failure << descriptor.AddProcPtr (reinterpret_cast<void*> (&createEffectGUIObject), kAAX_ProcPtrID_Create_EffectGUI);

        int components = 0;

        for (const auto& input : stemPairs)
        {
            for (const auto& output : stemPairs)
            {
                if (! processorSupports (processor, input.format, output.format))
                    continue;

                auto* component = descriptor.NewComponentDescriptor();

                if (component == nullptr)
                    return AAX_ERROR_NULL_OBJECT;

                failure << describeComponent (*component, input, output);
                failure << descriptor.AddComponent (component);
                ++components;
            }
        }

        if (components == 0)
            failure << AAX_ERROR_NO_COMPONENTS;

        return failure.result();
    }
}

//==============================================================================
AAX_Result GetEffectDescriptions (AAX_ICollection* collection)
{
    using namespace aaxclient;

    if (collection == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    // Exceptions go on to the registration entry point, which traces them
    // with their own text and answers the host.
    const JuceLibraryScope juceScope;
    const std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());

    auto* descriptor = collection->NewDescriptor();

    if (descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    FirstFailure failure;
    failure << describeEffect (*descriptor, *processor);
    failure << collection->AddEffect (kEffectIdentifier, descriptor);
    failure << collection->SetManufacturerName (kManufacturerName);
    failure << collection->AddPackageName (kEffectLongName);
    failure << collection->AddPackageName (kEffectShortName);
    failure << collection->SetPackageVersion (kPackageVersion);
    return failure.result();
}
