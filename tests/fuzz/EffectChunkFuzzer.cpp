// Chunks restored into and compared against one initialised effect instance,
// made through the registered creation procedure and initialised by the host
// kit, whose automation answers every set request through the effect as a
// host does.
//
// Input: one selector byte, then the chunk's data. Bit 0 of the selector
// picks the chunk ID ('elck' or 'juce'), bit 1 whether the record's own
// chunk ID field carries the other ID (hosts compare records by that field).
// Each input is compared against the active state, then restored.
// Afterwards:
//  - every host parameter and every processor parameter is inside 0..1;
//  - each host parameter holds its processor parameter's value, up to the
//    processor's own rounding (given to the processor it gives that value);
//  - the controls chunk saved now compares equal to the active state;
//  - the library reported no failed assertion.
#include "client/ClientSession.h"
#include "FuzzSupport.h"

#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
    using fuzzsupport::fail;
    using fuzzsupport::require;

    struct EffectUnderTest
    {
        clienttest::ClientSession host;
        clienttest::HostedEffect instance { host };
    };

    EffectUnderTest* madeEffect = nullptr;

    /** Closes the effect while JUCE's own statics still exist: the effect
        holds the client layer's JUCE scope, whose end shuts JUCE down. */
    void closeEffect()
    {
        delete madeEffect;
        madeEffect = nullptr;
    }

    EffectUnderTest& effectUnderTest()
    {
        // Made once: initialising an effect builds its processor and its
        // presets file, far slower than any one input.
        if (madeEffect == nullptr)
        {
            fuzzsupport::isolateUserFolders();
            madeEffect = new EffectUnderTest();

            std::atexit (closeEffect);
        }

        return *madeEffect;
    }

    void checkParameters (EffectUnderTest& effect)
    {
        auto& host = effect.instance.Host();
        int32_t count = 0;
        require (host.GetNumberOfParameters (&count) == AAX_SUCCESS && count > 0, "the effect lost its parameters");

        for (int32_t index = 0; index < count; ++index)
        {
            AAX_CString id;
            double value = -1.0;
            require (host.GetParameterIDFromIndex (index, &id) == AAX_SUCCESS, "a host parameter has no ID");
            require (host.GetParameterNormalizedValue (id.Get(), &value) == AAX_SUCCESS, "a host parameter has no value");
            require (fuzzsupport::isNormalised (value), "a host parameter left 0..1");
        }

        const auto& parameters = effect.instance.Processor().getParameters();

        for (int index = 0; index < parameters.size(); ++index)
        {
            const float value = parameters[index]->getValue();
            require (fuzzsupport::isNormalised (value), "a processor parameter left 0..1");

            const auto hostID = effect.instance.Effect().getHostParameterID (index);

            if (hostID.empty())
                continue;

            const double hostValue = effect.instance.HostValue (hostID.c_str());
            const auto* ranged = dynamic_cast<const juce::RangedAudioParameter*> (parameters[index]);
            const float held = ranged != nullptr ? ranged->convertTo0to1 (ranged->convertFrom0to1 (static_cast<float> (hostValue)))
                                                 : static_cast<float> (hostValue);
            require (static_cast<float> (hostValue) == value || held == value, "a processor parameter and its host parameter disagree");
        }
    }

    void checkSavedControlsMatch (EffectUnderTest& effect)
    {
        auto saved = effect.instance.SaveChunk (kControlsChunkID);
        AAX_CBoolean equal = 0;
        require (effect.instance.Host().CompareActiveChunk (saved.get(), &equal) == AAX_SUCCESS,
                 "comparing the saved controls chunk failed");
        require (equal != 0, "the controls chunk saved just now differs from the active state");
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    effectUnderTest();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20))
        return 0;

    auto& effect = effectUnderTest();
    const bool processorState = (data[0] & 1) != 0;
    const bool otherIDInRecord = (data[0] & 2) != 0;
    const AAX_CTypeID chunkID = processorState ? aaxclient::kProcessorStateChunkID : kControlsChunkID;
    const AAX_CTypeID recordID = otherIDInRecord ? (processorState ? kControlsChunkID : aaxclient::kProcessorStateChunkID)
                                                 : chunkID;

    // A record of exactly the header and the data: reads past fSize are
    // address-sanitizer reports.
    zelkhost::ChunkRecord record (recordID, fuzzsupport::bytesOf (data + 1, size - 1));
    record.get()->fVersion = 1;

    AAX_CBoolean equal = 2;
    require (effect.instance.Host().CompareActiveChunk (record.get(), &equal) == AAX_SUCCESS,
             "CompareActiveChunk failed");
    require (equal == 0 || equal == 1, "CompareActiveChunk gave no answer");

    const AAX_Result result = effect.instance.RestoreChunk (chunkID, record);
    require (result == AAX_SUCCESS || result == AAX_ERROR_MALFORMED_CHUNK, "SetChunk failed in an unexpected way");

    effect.instance.Host().TimerWakeup();

    checkParameters (effect);
    checkSavedControlsMatch (effect);

    auto& services = effect.host.host().services();
    require (services.asserts().empty(), "the library reported a failed assertion");

    // The host kit records every call; nothing of it is needed across inputs.
    effect.instance.Controller().clearRecords();
    services.clear();
    return 0;
}
