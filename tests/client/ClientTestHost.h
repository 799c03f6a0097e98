// The host side of the client tests: the library tests' in-process host
// (collection, descriptors, controller, view container) plus an automation
// delegate that answers set requests the way a host does, by calling the
// effect's UpdateParameterNormalizedValue, and a helper that creates and
// initialises one effect instance through its creation procedure.
#pragma once

#include "aax/FakeHost.h"

#include "AAX_IACFEffectParameters.h"
#include "client/EffectParameters.h"

#include <cstdint>
#include <string>
#include <vector>

namespace clienttest
{
    struct ValueRequest
    {
        std::string id;
        double value = 0.0;
    };

    /** Records what the effect asks of the host's automation and answers
        every set request at once through the effect. */
    class AnsweringAutomation : public fakehost::FakeObject<AAX_IACFAutomationDelegate>
    {
    public:
        AnsweringAutomation() { name = "answering automation"; }

        AAX_Result RegisterControl (AAX_CParamID id) override;
        AAX_Result UnregisterControl (AAX_CParamID id) override;
        AAX_Result PostSetValueRequest (AAX_CParamID id, double normalizedValue) override;
        AAX_Result PostCurrentValue (AAX_CParamID id, double normalizedValue) override;
        AAX_Result PostTouchRequest (AAX_CParamID id) override;
        AAX_Result PostReleaseRequest (AAX_CParamID id) override;
        AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* touched) override;

        /** Set requests for one parameter ID. */
        std::vector<double> RequestsFor (const std::string& id) const;

        AAX_IACFEffectParameters* effect = nullptr;
        bool answer = true;
        std::vector<std::string> registered;
        std::vector<ValueRequest> setRequests;
        std::vector<ValueRequest> currentValues;
        std::vector<std::string> gestures;

    protected:
        fakehost::Answer Answers (const acfIID& iid) override;
    };

    /** A controller whose automation delegate is an AnsweringAutomation. */
    class AnsweringController : public fakehost::FakeController
    {
    public:
        explicit AnsweringController (fakehost::FakeHost& host, fakehost::ControllerOptions options = {});

        AnsweringAutomation answering;
        float sampleRate = 48000.0f;
        AAX_EStemFormat stemFormat = (1 << 16) | 2;

        AAX_Result GetEPOCHSampleRate (AAX_CSampleRate* out) const override;
        AAX_Result GetEPOCHInputStemFormat (AAX_EStemFormat* out) const override;
        AAX_Result GetEPOCHOutputStemFormat (AAX_EStemFormat* out) const override;

    protected:
        fakehost::Answer Answers (const acfIID& iid) override;
    };

    /** One effect instance made by the registered creation procedure, held
        by one host reference and initialised against its own controller. */
    class HostedEffect
    {
    public:
        explicit HostedEffect (fakehost::FakeHost& host, AAX_EStemFormat stemFormat = (1 << 16) | 2);
        ~HostedEffect();

        /** Uninitialises the effect and gives back the host's reference (once). */
        void Close();

        HostedEffect (const HostedEffect&) = delete;
        HostedEffect& operator= (const HostedEffect&) = delete;

        AAX_IACFEffectParameters& Host() { return *hostInterface; }
        aaxclient::EffectParameters& Effect() { return *effect; }
        juce::AudioProcessor& Processor() { return effect->getProcessor(); }
        AnsweringController& Controller() { return controller; }
        IACFUnknown* Unknown() { return unknown; }

        /** The host's normalised value of a parameter. */
        double HostValue (const char* id);

        /** Saves a chunk as a host does: size first, then the record. */
        std::vector<uint8_t> SaveChunk (AAX_CTypeID chunkID);

        /** Restores a chunk saved with SaveChunk (or any record bytes). */
        AAX_Result RestoreChunk (AAX_CTypeID chunkID, std::vector<uint8_t>& record);

        AAX_Result initializeResult = 0;

    private:
        AnsweringController controller;
        IACFUnknown* unknown = nullptr;
        AAX_IACFEffectParameters* hostInterface = nullptr;
        aaxclient::EffectParameters* effect = nullptr;
    };

    /** A chunk record (header and data) holding these data bytes. */
    std::vector<uint8_t> MakeChunkRecord (AAX_CTypeID chunkID, const std::vector<uint8_t>& data);

    /** The data bytes of a chunk record. */
    std::vector<uint8_t> ChunkData (const std::vector<uint8_t>& record);

    inline AAX_SPlugInChunk* AsChunk (std::vector<uint8_t>& record)
    {
        return reinterpret_cast<AAX_SPlugInChunk*> (record.data());
    }
}
