// One effect instance against a host: its host-visible parameters, the
// mirroring of values in both directions, and its chunks.
#include "ClientSession.h"

#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_Exports.h"
#include "client/AlgorithmContext.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
    using clienttest::HostedEffect;
    constexpr AAX_CTypeID stateChunk = aaxclient::kProcessorStateChunkID;

    juce::String idOf (const juce::AudioProcessorParameter& parameter)
    {
        return dynamic_cast<const juce::AudioProcessorParameterWithID&> (parameter).paramID;
    }

    juce::AudioProcessorParameter& parameterNamed (juce::AudioProcessor& processor, const juce::String& id)
    {
        for (auto* parameter : processor.getParameters())
            if (idOf (*parameter) == id)
                return *parameter;
        throw std::runtime_error ("no processor parameter " + id.toStdString());
    }

    juce::RangedAudioParameter& rangedNamed (juce::AudioProcessor& processor, const juce::String& id)
    {
        return dynamic_cast<juce::RangedAudioParameter&> (parameterNamed (processor, id));
    }

    std::string nameOf (AAX_IACFEffectParameters& effect, const char* id)
    {
        AAX_CString text;
        effect.GetParameterName (id, &text);
        return text.Get();
    }

    int32_t stepsOf (AAX_IACFEffectParameters& effect, const char* id)
    {
        int32_t steps = -1;
        effect.GetParameterNumberofSteps (id, &steps);
        return steps;
    }

    class EffectParametersTest : public ::testing::Test
    {
    protected:
        clienttest::ClientSession host;
    };

    //==========================================================================
    using HostParameters = EffectParametersTest;

    TEST_F (HostParameters, OnePerProcessorParameterInOrderPlusTheMasterBypass)
    {
        HostedEffect instance (host);

        int32_t count = 0;
        instance.Host().GetNumberOfParameters (&count);
        const auto& processorParameters = instance.Processor().getParameters();
        ASSERT_EQ (processorParameters.size(), 73);
        ASSERT_EQ (count, 74);

        for (int index = 0; index < 73; ++index)
        {
            const auto& parameter = *processorParameters[index];
            AAX_CString id;
            ASSERT_EQ (instance.Host().GetParameterIDFromIndex (index, &id), AAX_SUCCESS);
            EXPECT_EQ (juce::String (id.Get()), idOf (parameter));
            EXPECT_EQ (nameOf (instance.Host(), id.Get()), parameter.getName (31).toStdString());

            double defaultValue = -1.0;
            instance.Host().GetParameterDefaultNormalizedValue (id.Get(), &defaultValue);
            EXPECT_FLOAT_EQ (static_cast<float> (defaultValue), parameter.getDefaultValue()) << id.Get();
            EXPECT_FLOAT_EQ (static_cast<float> (instance.HostValue (id.Get())), parameter.getValue()) << id.Get();
        }

        AAX_CString last;
        instance.Host().GetParameterIDFromIndex (73, &last);
        EXPECT_STREQ (last.Get(), "MasterBypassID");
        EXPECT_EQ (nameOf (instance.Host(), "MasterBypassID"), "Master Bypass");
        EXPECT_EQ (instance.HostValue ("MasterBypassID"), 0.0);

        AAX_CString bypassID;
        instance.Host().GetMasterBypassParameter (&bypassID);
        EXPECT_STREQ (bypassID.Get(), "MasterBypassID");
    }

    TEST_F (HostParameters, StepsFollowTheKindOfParameter)
    {
        HostedEffect instance (host);

        EXPECT_EQ (stepsOf (instance.Host(), "type-1"), 11);            // eleven saturation choices
        EXPECT_EQ (stepsOf (instance.Host(), "oversampling-1"), 4);     // X2 .. X16
        EXPECT_EQ (stepsOf (instance.Host(), "bypass"), 2);
        EXPECT_EQ (stepsOf (instance.Host(), "gain-1"), 2048);          // continuous, capped
        EXPECT_EQ (stepsOf (instance.Host(), "MasterBypassID"), 2);

        AAX_EParameterType type = -1;
        instance.Host().GetParameterType ("type-1", &type);
        EXPECT_EQ (type, AAX_eParameterType_Discrete);
        instance.Host().GetParameterType ("gain-1", &type);
        EXPECT_EQ (type, AAX_eParameterType_Continuous);
    }

    TEST_F (HostParameters, EveryParameterIsRegisteredWithTheHostsAutomation)
    {
        HostedEffect instance (host);
        const auto calls = instance.Controller().automation().calls();
        const auto registrations = std::count_if (calls.begin(), calls.end(), [] (const std::string& call) { return call.rfind ("register ", 0) == 0; });

        EXPECT_EQ (registrations, 74);
        EXPECT_EQ (std::count (calls.begin(), calls.end(), "register numCrossovers"), 1);
        EXPECT_EQ (std::count (calls.begin(), calls.end(), "register MasterBypassID"), 1);
    }

    TEST_F (HostParameters, MasterBypassReachesTheBypassFieldAsAPacket)
    {
        HostedEffect instance (host);
        instance.Host().GenerateCoefficients();
        auto packets = instance.Controller().postedPackets();
        ASSERT_EQ (packets.size(), 1u);
        EXPECT_EQ (packets[0].field, aaxclient::kFieldMasterBypass);
        ASSERT_EQ (packets[0].payload.size(), aaxclient::kMasterBypassPacketSize);

        instance.Host().SetParameterNormalizedValue ("MasterBypassID", 1.0);
        instance.Host().GenerateCoefficients();
        packets = instance.Controller().postedPackets();
        ASSERT_EQ (packets.size(), 2u);
        float value = 0.0f;
        std::memcpy (&value, packets[1].payload.data(), sizeof (value));
        EXPECT_EQ (value, 1.0f);
    }

    TEST_F (HostParameters, TextsComeFromTheProcessorParameters)
    {
        HostedEffect instance (host);
        auto& gain = parameterNamed (instance.Processor(), "output");

        AAX_CString text;
        ASSERT_EQ (instance.Host().GetParameterStringFromValue ("output", 0.25, &text, 32), AAX_SUCCESS);
        EXPECT_EQ (juce::String (text.Get()), gain.getText (0.25f, 32));

        double value = -1.0;
        ASSERT_EQ (instance.Host().GetParameterValueFromString ("output", &value, AAX_CString (text.Get())), AAX_SUCCESS);
        EXPECT_NEAR (value, 0.25, 0.01);
    }

    TEST_F (HostParameters, TextsFitTheLengthTheHostAsksFor)
    {
        HostedEffect instance (host);
        const auto& parameters = instance.Processor().getParameters();

        for (int i = 0; i < parameters.size(); ++i)
            for (double value : { 0.0, 0.37, 1.0 })
            {
                const auto id = instance.Effect().getHostParameterID (i);
                const auto full = parameters[i]->getText ((float) value, 0).toStdString();
                for (int32_t limit = 0; limit <= 12; ++limit)
                {
                    AAX_CString text;
                    ASSERT_EQ (instance.Host().GetParameterStringFromValue (id.c_str(), value, &text, limit), AAX_SUCCESS);
                    const std::string shown = text.Get();
                    EXPECT_LE (shown.size(), (size_t) limit) << id << " " << value << ": " << shown;
                    EXPECT_EQ (full.rfind (shown, 0), 0u) << id << " " << value << ": " << shown;   // cut from the end only
                    if (full.size() <= (size_t) limit)
                    {
                        EXPECT_EQ (shown, full) << id << " " << value;
                    }
                }
                double back = -1.0;   // and the full text reads back as itself
                ASSERT_EQ (instance.Host().GetParameterValueFromString (id.c_str(), &back, AAX_CString (full.c_str())), AAX_SUCCESS) << id;
                EXPECT_EQ (parameters[i]->getText ((float) back, 0).toStdString(), full) << id;
            }

        // Cut as the library's number display cuts: no dot left dangling.
        AAX_CString text;
        ASSERT_EQ (instance.Host().GetParameterStringFromValue ("frequency_lowpass-1", 1.0, &text, 3), AAX_SUCCESS);
        EXPECT_STREQ (text.Get(), "20");
    }

    //==========================================================================
    using ParameterMirroring = EffectParametersTest;

    TEST_F (ParameterMirroring, HostUpdatesReachTheProcessorWithoutEcho)
    {
        HostedEffect instance (host);
        auto& answering = instance.Controller().automation();
        answering.clearRequests();

        ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("gain-2", 0.25, 0), AAX_SUCCESS);

        EXPECT_FLOAT_EQ (parameterNamed (instance.Processor(), "gain-2").getValue(), 0.25f);
        EXPECT_TRUE (answering.setRequestsFor ("gain-2").empty());
    }

    TEST_F (ParameterMirroring, HostSetRequestsReachTheProcessor)
    {
        HostedEffect instance (host);

        ASSERT_EQ (instance.Host().SetParameterNormalizedValue ("output_mix", 0.5), AAX_SUCCESS);

        EXPECT_FLOAT_EQ (parameterNamed (instance.Processor(), "output_mix").getValue(), 0.5f);
        EXPECT_DOUBLE_EQ (instance.HostValue ("output_mix"), 0.5);
    }

    TEST_F (ParameterMirroring, ProcessorChangesBecomeOneSetRequestEach)
    {
        HostedEffect instance (host);
        auto& answering = instance.Controller().automation();
        answering.clearRequests();

        auto& mix = parameterNamed (instance.Processor(), "mix-3");
        mix.beginChangeGesture();
        mix.setValueNotifyingHost (0.3f);
        mix.endChangeGesture();

        ASSERT_EQ (answering.setRequestsFor ("mix-3").size(), 1u);
        EXPECT_FLOAT_EQ (static_cast<float> (answering.setRequestsFor ("mix-3")[0]), 0.3f);
        EXPECT_FLOAT_EQ (static_cast<float> (instance.HostValue ("mix-3")), 0.3f);
        std::vector<std::string> gestures;
        for (const auto& call : answering.calls())
            if (call.rfind ("touch ", 0) == 0 || call.rfind ("release ", 0) == 0)
                gestures.push_back (call);
        EXPECT_NE (std::find (gestures.begin(), gestures.end(), "touch mix-3"), gestures.end());
        EXPECT_EQ (gestures.back(), "release mix-3");
    }

    TEST_F (ParameterMirroring, HostValuesOutsideTheRangeOrNotANumberAreHarmless)
    {
        HostedEffect instance (host);
        auto& gain = parameterNamed (instance.Processor(), "gain-1");
        const float before = gain.getValue();

        instance.Host().UpdateParameterNormalizedValue ("gain-1", std::nan (""), 0);
        EXPECT_EQ (gain.getValue(), before);

        instance.Host().UpdateParameterNormalizedValue ("gain-1", 7.0, 0);
        EXPECT_LE (gain.getValue(), 1.0f);

        EXPECT_EQ (instance.Host().UpdateParameterNormalizedValue ("no-such-parameter", 0.5, 0), AAX_ERROR_INVALID_PARAMETER_ID);
    }

    TEST_F (ParameterMirroring, HostChangeOfTheCrossoverCountIsNotSentBack)
    {
        HostedEffect instance (host);
        auto& answering = instance.Controller().automation();
        answering.clearRequests();

        auto& crossovers = rangedNamed (instance.Processor(), "numCrossovers");
        const double twoCrossovers = crossovers.convertTo0to1 (2.0f);
        instance.Host().UpdateParameterNormalizedValue ("numCrossovers", twoCrossovers, 0);

        EXPECT_FLOAT_EQ (crossovers.getValue(), static_cast<float> (twoCrossovers));
        EXPECT_TRUE (answering.setRequestsFor ("numCrossovers").empty());
        for (const auto& [id, value] : answering.setRequests())
            EXPECT_DOUBLE_EQ (instance.HostValue (id.c_str()), static_cast<double> (parameterNamed (instance.Processor(), id).getValue())) << id;
    }

    //==========================================================================
    using Chunks = EffectParametersTest;

    TEST_F (Chunks, TheProcessorStateChunkFollowsTheControlsChunk)
    {
        HostedEffect instance (host);

        int32_t count = 0;
        instance.Host().GetNumberOfChunks (&count);
        ASSERT_EQ (count, 2);

        AAX_CTypeID first = 0, second = 0;
        instance.Host().GetChunkIDFromIndex (0, &first);
        instance.Host().GetChunkIDFromIndex (1, &second);
        EXPECT_EQ (first, kControlsChunkID);
        EXPECT_EQ (second, stateChunk);
    }

    TEST_F (Chunks, SavedChunksRestoreIntoASecondInstance)
    {
        HostedEffect original (host);
        original.Host().UpdateParameterNormalizedValue ("gain-1", 0.125, 0);
        original.Host().UpdateParameterNormalizedValue ("type-2", rangedNamed (original.Processor(), "type-2").convertTo0to1 (4.0f), 0);
        original.Host().UpdateParameterNormalizedValue ("output", 0.75, 0);
        original.Host().UpdateParameterNormalizedValue ("frequency_crossover-2", 0.4, 0);

        auto controls = original.SaveChunk (kControlsChunkID);
        auto state = original.SaveChunk (stateChunk);

        HostedEffect copy (host);
        ASSERT_EQ (copy.RestoreChunk (kControlsChunkID, controls), AAX_SUCCESS);
        ASSERT_EQ (copy.RestoreChunk (stateChunk, state), AAX_SUCCESS);

        const auto& originals = original.Processor().getParameters();
        const auto& copies = copy.Processor().getParameters();
        for (int index = 0; index < originals.size(); ++index)
        {
            EXPECT_EQ (copies[index]->getValue(), originals[index]->getValue()) << idOf (*originals[index]);
            const auto id = idOf (*originals[index]).toStdString();
            EXPECT_EQ (copy.HostValue (id.c_str()), original.HostValue (id.c_str())) << id;
        }

        AAX_CBoolean equal = 0;
        copy.Host().CompareActiveChunk (controls.get(), &equal);
        EXPECT_EQ (equal, 1);
        EXPECT_EQ (copy.SaveChunk (stateChunk).data(), state.data());
    }

    TEST_F (Chunks, StateChunkCarriesChangesNotYetCopiedIntoTheStateTree)
    {
        HostedEffect original (host);
        original.Host().UpdateParameterNormalizedValue ("compgain-4", 0.2, 0);
        auto state = original.SaveChunk (stateChunk);

        HostedEffect copy (host);
        ASSERT_EQ (copy.RestoreChunk (stateChunk, state), AAX_SUCCESS);
        EXPECT_FLOAT_EQ (parameterNamed (copy.Processor(), "compgain-4").getValue(),
                         parameterNamed (original.Processor(), "compgain-4").getValue());
    }

    TEST_F (Chunks, RestoringTheStatePushesEveryValueToTheHostOnce)
    {
        HostedEffect original (host);
        original.Host().UpdateParameterNormalizedValue ("solo-2", 1.0, 0);
        original.Host().UpdateParameterNormalizedValue ("mix-5", 0.6, 0);
        auto state = original.SaveChunk (stateChunk);

        HostedEffect copy (host);
        auto& answering = copy.Controller().automation();
        answering.clearRequests();
        ASSERT_EQ (copy.RestoreChunk (stateChunk, state), AAX_SUCCESS);

        for (auto* parameter : copy.Processor().getParameters())
        {
            const auto id = idOf (*parameter).toStdString();
            const auto requests = answering.setRequestsFor (id);
            ASSERT_EQ (requests.size(), 1u) << id;
            EXPECT_FLOAT_EQ (static_cast<float> (requests[0]), parameter->getValue()) << id;
            EXPECT_FLOAT_EQ (static_cast<float> (copy.HostValue (id.c_str())), parameter->getValue()) << id;
        }

        EXPECT_TRUE (answering.setRequestsFor ("MasterBypassID").empty());
    }

    TEST_F (Chunks, StateChunkWithoutItsSizeFirstIsRefused)
    {
        HostedEffect instance (host);
        zelkhost::ChunkRecord record (64);
        record.get()->fSize = 0;

        EXPECT_EQ (instance.Host().GetChunk (stateChunk, record.get()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
        EXPECT_EQ (record.get()->fSize, 0);
    }

    TEST_F (Chunks, DamagedStateIsRefusedWhole)
    {
        HostedEffect original (host);
        original.Host().UpdateParameterNormalizedValue ("gain-5", 0.9, 0);
        auto data = original.SaveChunk (stateChunk).data<uint8_t>();

        HostedEffect target (host);
        target.Host().UpdateParameterNormalizedValue ("gain-5", 0.1, 0);
        target.Host().UpdateParameterNormalizedValue ("mix-1", 0.2, 0);

        // Cut off half way: the reader would hand back part of the tree and
        // every parameter after the cut would fall back to its default.
        data.resize (data.size() / 2);
        auto cut = zelkhost::ChunkRecord (stateChunk, data);
        EXPECT_EQ (target.RestoreChunk (stateChunk, cut), AAX_ERROR_MALFORMED_CHUNK);

        EXPECT_FLOAT_EQ (parameterNamed (target.Processor(), "gain-5").getValue(), 0.1f);
        EXPECT_FLOAT_EQ (parameterNamed (target.Processor(), "mix-1").getValue(), 0.2f);
    }

    TEST_F (Chunks, RandomAndMutatedStateNeverCrashes)
    {
        HostedEffect original (host);
        original.Host().UpdateParameterNormalizedValue ("frequency_lowpass-3", 0.3, 0);
        const auto valid = original.SaveChunk (stateChunk).data<uint8_t>();

        HostedEffect target (host);
        std::mt19937 random (20260512u);

        for (int round = 0; round < 400; ++round)
        {
            std::vector<uint8_t> data = valid;

            switch (round % 4)
            {
                case 0: // a few bytes changed
                    for (int i = 0; i < 1 + round % 7; ++i)
                        data[random() % data.size()] = static_cast<uint8_t> (random());
                    break;
                case 1: // cut anywhere
                    data.resize (random() % data.size());
                    break;
                case 2: // counts and sizes made huge
                    for (size_t i = 0; i + 5 <= data.size(); i += 1 + random() % 40)
                    {
                        data[i] = 0x84;
                        std::memset (&data[i + 1], 0x7f, 4);
                    }
                    break;
                default: // noise
                    data.assign (random() % 600, 0);
                    for (auto& byte : data)
                        byte = static_cast<uint8_t> (random());
                    break;
            }

            auto record = zelkhost::ChunkRecord (stateChunk, data);
            const AAX_Result result = target.RestoreChunk (stateChunk, record);
            ASSERT_TRUE (result == AAX_SUCCESS || result == AAX_ERROR_MALFORMED_CHUNK) << result;
        }

        for (auto* parameter : target.Processor().getParameters())
        {
            EXPECT_GE (parameter->getValue(), 0.0f);
            EXPECT_LE (parameter->getValue(), 1.0f);
        }

        auto good = zelkhost::ChunkRecord (stateChunk, valid);
        EXPECT_EQ (target.RestoreChunk (stateChunk, good), AAX_SUCCESS);
        EXPECT_FLOAT_EQ (parameterNamed (target.Processor(), "frequency_lowpass-3").getValue(),
                         parameterNamed (original.Processor(), "frequency_lowpass-3").getValue());
    }

    TEST_F (Chunks, NullRecordsAreRefused)
    {
        HostedEffect instance (host);
        uint32_t size = 0;

        EXPECT_EQ (instance.Host().SetChunk (stateChunk, nullptr), AAX_ERROR_NULL_ARGUMENT);
        EXPECT_EQ (instance.Host().GetChunkSize (stateChunk, nullptr), AAX_ERROR_NULL_ARGUMENT);
        EXPECT_EQ (instance.Host().GetChunkSize (stateChunk, &size), AAX_SUCCESS);
        EXPECT_EQ (instance.Host().GetChunk (stateChunk, nullptr), AAX_ERROR_NULL_ARGUMENT);
    }

    //==========================================================================
    TEST_F (EffectParametersTest, NoObjectOfThePlugInOutlivesItsLastRelease)
    {
        HostedEffect first (host);
        HostedEffect second (host);
        EXPECT_EQ (ACFCanUnloadNow (nullptr), 2);
        auto& firstController = first.Controller();   // the host keeps its controllers
        auto& secondController = second.Controller();

        first.Close();
        second.Close();

        EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
        EXPECT_EQ (aaxclient::JuceLibraryScope::liveScopes(), 0);
        for (auto* controller : { &firstController, &secondController })
        {
            EXPECT_EQ (controller->references(), 0);
            EXPECT_EQ (controller->automation().references(), 0);
            EXPECT_EQ (controller->transport().references(), 0);
        }
    }
}
