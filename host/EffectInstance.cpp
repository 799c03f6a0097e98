#include "EffectInstance.h"

#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "ChunkRecord.h"
#include "HostString.h"
#include "PluginHost.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zelkhost
{
    namespace
    {
        /** Asks an object for an interface; null when it does not answer. */
        template <typename Interface>
        Interface* queryInterface (IACFUnknown* object, const acfIID& iid)
        {
            void* answer = nullptr;
            if (object == nullptr || object->QueryInterface (iid, &answer) != ACF_OK)
                return nullptr;
            return static_cast<Interface*> (answer);
        }

        /** Makes a plug-in object with a create procedure and takes one reference to it. */
        IACFUnknown* createObject (AAX_CCreateObjectProc create)
        {
            auto* object = create != nullptr ? static_cast<IACFUnknown*> (create()) : nullptr;
            if (object != nullptr)
                object->AddRef();
            return object;
        }

        template <typename Interface>
        void releaseOnce (Interface*& pointer)
        {
            if (pointer != nullptr)
                std::exchange (pointer, nullptr)->Release();
        }

    }

    EffectInstance::EffectInstance (PluginHost& host, const InstanceOptions& options)
        : mHost (host), mOptions (options)
    {
    }

    std::unique_ptr<EffectInstance> EffectInstance::create (PluginHost& host, const RecordedEffect& effect, int channels,
                                                            const InstanceOptions& options, std::string& error)
    {
        const RecordedComponent* component = nullptr;
        const RecordedProcessProc* proc = nullptr;
        for (const auto& candidate : effect.components)
            for (const auto& registered : candidate.processProcs)
                if (registered.native && registered.process != nullptr
                    && channelsOf (registered.properties.valueOr (AAX_eProperty_InputStemFormat, -1)) == channels
                    && channelsOf (registered.properties.valueOr (AAX_eProperty_OutputStemFormat, -1)) == channels
                    && component == nullptr)
                {
                    component = &candidate;
                    proc = &registered;
                }

        if (component == nullptr)
        {
            error = effect.effectID + " has no native component for " + std::to_string (channels) + " channel(s) in and out";
            return nullptr;
        }

        const auto create = reinterpret_cast<AAX_CCreateObjectProc> (effect.procPointer (kAAX_ProcPtrID_Create_EffectParameters));
        if (create == nullptr)
        {
            error = effect.effectID + " registered no effect-parameters create procedure";
            return nullptr;
        }

        std::unique_ptr<EffectInstance> instance (new EffectInstance (host, options));
        instance->mEffectID = effect.effectID;
        instance->mProcess = proc->process;
        instance->mCreateGUI = reinterpret_cast<AAX_CCreateObjectProc> (effect.procPointer (kAAX_ProcPtrID_Create_EffectGUI));

        const auto inputFormat = proc->properties.valueOr (AAX_eProperty_InputStemFormat, AAX_eStemFormat_None);
        const auto outputFormat = proc->properties.valueOr (AAX_eProperty_OutputStemFormat, AAX_eStemFormat_None);
        instance->mController = &host.makeController (instance->mOptions, effect.effectID, inputFormat, outputFormat);

        instance->mContext = InstanceContext::build (*component, channels, channels, options.maximumBlockSize, options.sampleRate, error);
        if (instance->mContext == nullptr)
            return nullptr;

        instance->mEffectObject = createObject (create);
        instance->mEffect = queryInterface<AAX_IACFEffectParameters> (instance->mEffectObject, IID_IAAXEffectParametersV1);
        if (instance->mEffect == nullptr)
        {
            error = "the effect's create procedure gave no effect-parameters object";
            return nullptr; // the destructor releases what was made
        }

        if (const auto result = instance->initialize(); result != AAX_SUCCESS)
        {
            error = "the effect failed to initialise (result " + std::to_string (result) + ")";
            return nullptr;
        }
        return instance;
    }

    AAX_Result EffectInstance::initialize()
    {
        mController->setEffect (mEffect);
        for (const auto& port : mContext->dataInPorts())
            mController->routePackets (port.field, port.mailbox);

        mInitialized = true;
        if (const auto result = mEffect->Initialize (static_cast<AAX_IACFController*> (mController)); result != AAX_SUCCESS)
            return result;

        return mEffect->GenerateCoefficients();
    }

    AAX_Result EffectInstance::startProcessing()
    {
        if (mEffect == nullptr || ! mInitialized)
            return AAX_ERROR_NOT_INITIALIZED;

        for (const auto& block : mContext->privateBlocks())
            if (const auto result = mEffect->ResetFieldData (block.field, block.data, block.size); result != AAX_SUCCESS)
                return result;

        return mEffect->GenerateCoefficients();
    }

    void EffectInstance::idle()
    {
        if (mEffect != nullptr)
            mEffect->TimerWakeup();
        if (mGUI != nullptr)
            mGUI->TimerWakeup();
    }

    EffectInstance::~EffectInstance()
    {
        uninitialize();
        release();
    }

    //==============================================================================
    std::vector<std::string> EffectInstance::parameterIDs() const
    {
        std::vector<std::string> ids;
        int32_t count = 0;
        if (mEffect == nullptr || mEffect->GetNumberOfParameters (&count) != AAX_SUCCESS)
            return ids;

        for (int32_t index = 0; index < count; ++index)
        {
            HostString id;
            if (mEffect->GetParameterIDFromIndex (index, &id) == AAX_SUCCESS)
                ids.push_back (id.text());
        }
        return ids;
    }

    AAX_Result EffectInstance::automate (const std::string& id, double normalizedValue)
    {
        if (mEffect == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        if (const auto result = mEffect->SetParameterNormalizedValue (id.c_str(), normalizedValue); result != AAX_SUCCESS)
            return result;
        return mEffect->GenerateCoefficients();
    }

    AAX_Result EffectInstance::normalizedValue (const std::string& id, double& value) const
    {
        return mEffect != nullptr ? mEffect->GetParameterNormalizedValue (id.c_str(), &value) : AAX_ERROR_NULL_OBJECT;
    }

    //==============================================================================
    void EffectInstance::process (const float* const* inputs, float* const* outputs, int numSamples) noexcept
    {
        constexpr int mostChannels = 8;
        const int numChannels = std::min (channels(), mostChannels);
        const float* blockInputs[mostChannels] = {};
        float* blockOutputs[mostChannels] = {};

        for (int start = 0; start < numSamples; start += maximumBlockSize())
        {
            const int length = std::min (maximumBlockSize(), numSamples - start);
            for (int channel = 0; channel < numChannels; ++channel)
            {
                blockInputs[channel] = inputs[channel] + start;
                blockOutputs[channel] = outputs[channel] + start;
            }

            mContext->prepareBlock (blockInputs, blockOutputs, length);
            void* const contexts[] = { mContext->contextPointer() };
            mProcess (contexts, contexts + 1);
        }
    }

    //==============================================================================
    AAX_Result EffectInstance::saveChunks (ChunkSet& chunks) const
    {
        chunks = {};
        if (mEffect == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        int32_t count = 0;
        if (const auto result = mEffect->GetNumberOfChunks (&count); result != AAX_SUCCESS)
            return result;

        for (int32_t index = 0; index < count; ++index)
        {
            AAX_CTypeID id = 0;
            uint32_t size = 0;
            if (const auto result = mEffect->GetChunkIDFromIndex (index, &id); result != AAX_SUCCESS)
                return result;
            if (const auto result = mEffect->GetChunkSize (id, &size); result != AAX_SUCCESS)
                return result;

            ChunkRecord record (size);
            record.get()->fChunkID = id;
            if (const auto result = mEffect->GetChunk (id, record.get()); result != AAX_SUCCESS)
                return result;
            if (record.get()->fSize < 0 || static_cast<uint32_t> (record.get()->fSize) > size)
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;

            auto stored = record.stored();
            stored.id = id;
            chunks.chunks.push_back (std::move (stored));
        }
        return AAX_SUCCESS;
    }

    AAX_Result EffectInstance::restoreChunks (const ChunkSet& chunks)
    {
        auto copy = chunks;
        return restoreChunks (std::move (copy));
    }

    AAX_Result EffectInstance::restoreChunks (ChunkSet&& chunks)
    {
        if (mEffect == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        AAX_Result last = AAX_SUCCESS;
        for (auto& stored : chunks.chunks)
        {
            ChunkRecord record (stored);
            std::vector<char>().swap (stored.data);

            if (const auto result = mEffect->SetChunk (stored.id, record.get()); result != AAX_SUCCESS)
                last = result;
        }

        // Values the chunks set travel to the algorithm as packets.
        const auto generated = mEffect->GenerateCoefficients();
        return last != AAX_SUCCESS ? last : generated;
    }

    AAX_Result EffectInstance::compareChunks (const ChunkSet& chunks, bool& equal) const
    {
        equal = false;
        if (mEffect == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        for (const auto& stored : chunks.chunks)
        {
            ChunkRecord record (stored);
            AAX_CBoolean same = 0;
            if (const auto result = mEffect->CompareActiveChunk (record.get(), &same); result != AAX_SUCCESS)
                return result;
            if (same == 0)
                return AAX_SUCCESS;
        }
        equal = true;
        return AAX_SUCCESS;
    }

    //==============================================================================
    AAX_Result EffectInstance::openView()
    {
        if (mViewOpen)
            return AAX_SUCCESS;

        if (mGUI == nullptr)
        {
            if (mCreateGUI == nullptr)
                return AAX_ERROR_NULL_OBJECT;

            mGUIObject = createObject (mCreateGUI);
            mGUI = queryInterface<AAX_IACFEffectGUI> (mGUIObject, IID_IAAXEffectGUIV1);
            if (mGUI == nullptr)
                return AAX_ERROR_NULL_OBJECT;

            mGUIInitialized = true;
            if (const auto result = mGUI->Initialize (static_cast<AAX_IACFController*> (mController)); result != AAX_SUCCESS)
                return result;
        }

        if (mViewContainer == nullptr)
            mViewContainer = &mHost.registry().make<HostViewContainer> (mOptions);

        const auto result = mGUI->SetViewContainer (static_cast<AAX_IACFViewContainer*> (mViewContainer));
        mViewOpen = result == AAX_SUCCESS;
        return result;
    }

    AAX_Result EffectInstance::closeView()
    {
        if (! mViewOpen || mGUI == nullptr)
            return AAX_SUCCESS;
        mViewOpen = false;
        return mGUI->SetViewContainer (nullptr);
    }

    AAX_Result EffectInstance::notifyView (AAX_CTypeID type, const void* data, uint32_t size)
    {
        return mGUI != nullptr ? mGUI->NotificationReceived (type, data, size) : AAX_ERROR_NULL_OBJECT;
    }

    AAX_Result EffectInstance::viewSize (AAX_Point& size) const
    {
        return mGUI != nullptr ? mGUI->GetViewSize (&size) : AAX_ERROR_NULL_OBJECT;
    }

    //==============================================================================
    AAX_Result EffectInstance::uninitialize()
    {
        AAX_Result result = AAX_SUCCESS;
        closeView();

        if (mGUIInitialized && mGUI != nullptr)
        {
            mGUIInitialized = false;
            result = mGUI->Uninitialize();
        }

        if (mInitialized && mEffect != nullptr)
        {
            mInitialized = false;
            const auto effectResult = mEffect->Uninitialize();
            if (result == AAX_SUCCESS)
                result = effectResult;
        }
        return result;
    }

    void EffectInstance::release()
    {
        if (mController != nullptr)
            mController->setEffect (nullptr);

        releaseOnce (mGUI);
        releaseOnce (mGUIObject);
        releaseOnce (mEffect);
        releaseOnce (mEffectObject);
    }
}
