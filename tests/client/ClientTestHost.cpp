#include "ClientTestHost.h"

#include "AAX_CString.h"
#include "AAX_UIDs.h"
#include "client/EffectDescription.h"

#include <cstring>
#include <stdexcept>

namespace clienttest
{
    AAX_Result AnsweringAutomation::RegisterControl (AAX_CParamID id)   { registered.emplace_back (id); return AAX_SUCCESS; }
    AAX_Result AnsweringAutomation::UnregisterControl (AAX_CParamID)    { return AAX_SUCCESS; }
    AAX_Result AnsweringAutomation::PostCurrentValue (AAX_CParamID id, double v) { currentValues.push_back ({ id, v }); return AAX_SUCCESS; }
    AAX_Result AnsweringAutomation::PostTouchRequest (AAX_CParamID id)  { gestures.push_back (std::string ("touch ") + id); return AAX_SUCCESS; }
    AAX_Result AnsweringAutomation::PostReleaseRequest (AAX_CParamID id) { gestures.push_back (std::string ("release ") + id); return AAX_SUCCESS; }

    AAX_Result AnsweringAutomation::GetTouchState (AAX_CParamID, AAX_CBoolean* touched)
    {
        *touched = 0;
        return AAX_SUCCESS;
    }

    AAX_Result AnsweringAutomation::PostSetValueRequest (AAX_CParamID id, double normalizedValue)
    {
        setRequests.push_back ({ id, normalizedValue });

        if (answer && effect != nullptr)
            return effect->UpdateParameterNormalizedValue (id, normalizedValue, 0);

        return AAX_SUCCESS;
    }

    std::vector<double> AnsweringAutomation::RequestsFor (const std::string& id) const
    {
        std::vector<double> values;
        for (const auto& request : setRequests)
            if (request.id == id)
                values.push_back (request.value);
        return values;
    }

    fakehost::Answer AnsweringAutomation::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXAutomationDelegateV1)
            return fakehost::answerWith<AAX_IACFAutomationDelegate> (this);
        return {};
    }

    //==========================================================================
    AnsweringController::AnsweringController (fakehost::FakeHost& host, fakehost::ControllerOptions controllerOptions)
        : fakehost::FakeController (host, controllerOptions)
    {
        host.Watch (answering);
    }

    AAX_Result AnsweringController::GetEPOCHSampleRate (AAX_CSampleRate* out) const       { *out = sampleRate; return AAX_SUCCESS; }
    AAX_Result AnsweringController::GetEPOCHInputStemFormat (AAX_EStemFormat* out) const  { *out = stemFormat; return AAX_SUCCESS; }
    AAX_Result AnsweringController::GetEPOCHOutputStemFormat (AAX_EStemFormat* out) const { *out = stemFormat; return AAX_SUCCESS; }

    fakehost::Answer AnsweringController::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXAutomationDelegateV1)
            return fakehost::answerWith<AAX_IACFAutomationDelegate> (&answering);
        return fakehost::FakeController::Answers (iid);
    }

    //==========================================================================
    HostedEffect::HostedEffect (fakehost::FakeHost& host, AAX_EStemFormat stemFormat)
        : controller (host)
    {
        controller.stemFormat = stemFormat;

        unknown = static_cast<IACFUnknown*> (aaxclient::createEffectParametersObject());
        if (unknown == nullptr)
            throw std::runtime_error ("the creation procedure made no effect");

        void* found = nullptr;
        if (unknown->QueryInterface (IID_IAAXEffectParametersV1, &found) != ACF_OK)
            throw std::runtime_error ("the effect does not answer the effect-parameters interface");

        hostInterface = static_cast<AAX_IACFEffectParameters*> (found);
        effect = dynamic_cast<aaxclient::EffectParameters*> (hostInterface);
        controller.answering.effect = hostInterface;
        initializeResult = hostInterface->Initialize (&controller);
    }

    HostedEffect::~HostedEffect()
    {
        Close();
    }

    void HostedEffect::Close()
    {
        if (hostInterface == nullptr)
            return;

        controller.answering.effect = nullptr;
        hostInterface->Uninitialize();
        hostInterface->Release();
        hostInterface = nullptr;
        effect = nullptr;
    }

    double HostedEffect::HostValue (const char* id)
    {
        double value = -1.0;
        if (hostInterface->GetParameterNormalizedValue (id, &value) != AAX_SUCCESS)
            throw std::runtime_error (std::string ("no host parameter ") + id);
        return value;
    }

    std::vector<uint8_t> HostedEffect::SaveChunk (AAX_CTypeID chunkID)
    {
        uint32_t size = 0;
        if (hostInterface->GetChunkSize (chunkID, &size) != AAX_SUCCESS)
            throw std::runtime_error ("GetChunkSize failed");

        std::vector<uint8_t> record (kAAX_SPlugInChunkHeaderSize + size, 0);
        AsChunk (record)->fChunkID = chunkID;

        if (hostInterface->GetChunk (chunkID, AsChunk (record)) != AAX_SUCCESS)
            throw std::runtime_error ("GetChunk failed");

        if (static_cast<uint32_t> (AsChunk (record)->fSize) != size)
            throw std::runtime_error ("GetChunk wrote another size than GetChunkSize gave");

        return record;
    }

    AAX_Result HostedEffect::RestoreChunk (AAX_CTypeID chunkID, std::vector<uint8_t>& record)
    {
        return hostInterface->SetChunk (chunkID, AsChunk (record));
    }

    //==========================================================================
    std::vector<uint8_t> MakeChunkRecord (AAX_CTypeID chunkID, const std::vector<uint8_t>& data)
    {
        std::vector<uint8_t> record (kAAX_SPlugInChunkHeaderSize + data.size(), 0);
        AsChunk (record)->fChunkID = chunkID;
        AsChunk (record)->fSize = static_cast<int32_t> (data.size());
        if (! data.empty())
            std::memcpy (AsChunk (record)->fData, data.data(), data.size());
        return record;
    }

    std::vector<uint8_t> ChunkData (const std::vector<uint8_t>& record)
    {
        const auto* chunk = reinterpret_cast<const AAX_SPlugInChunk*> (record.data());
        const auto* bytes = reinterpret_cast<const uint8_t*> (chunk->fData);
        return std::vector<uint8_t> (bytes, bytes + chunk->fSize);
    }
}
