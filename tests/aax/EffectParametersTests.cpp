#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#include "ChunkBytes.h"
#include "LibraryHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
    using chunkbytes::Append;
    using chunkbytes::ChunkRecord;
    using librarytest::InstanceHost;
    using Bytes = std::vector<uint8_t>;

    constexpr AAX_CTypeID kJuceChunkID = 0x6A756365u; // 'juce'

    /** An effect whose EffectInit runs a test-supplied body. */
    class TestEffect : public AAX_CEffectParameters
    {
    public:
        std::function<void (TestEffect&)> onInit;
        AAX_Result initResult = AAX_SUCCESS;

        AAX_Result EffectInit() override
        {
            if (onInit)
                onInit (*this);

            return initResult;
        }

        AAX_CParameter<float>* AddFloat (const char* id, float defaultValue, float minValue = 0.0f, float maxValue = 1.0f)
        {
            auto* parameter = new AAX_CParameter<float> (id, AAX_CString (id), defaultValue,
                                                         AAX_CLinearTaperDelegate<float, 0> (minValue, maxValue),
                                                         AAX_CNumberDisplayDelegate<float, 3, 0>(), true);
            mParameterManager.AddParameter (parameter);
            return parameter;
        }

        template <typename T>
        AAX_CParameter<T>* Add (const char* id, T defaultValue, T minValue, T maxValue)
        {
            auto* parameter = new AAX_CParameter<T> (id, AAX_CString (id), defaultValue,
                                                     AAX_CLinearTaperDelegate<T, 0> (minValue, maxValue),
                                                     AAX_CNumberDisplayDelegate<T, 3, 0>(), true);
            mParameterManager.AddParameter (parameter);
            return parameter;
        }

        AAX_CPacketDispatcher& Dispatcher() { return mPacketDispatcher; }
        int32_t NumChunkedParameters() const { return mNumChunkedParameters; }
    };

    /** An initialised effect on the fake host, uninitialised on destruction. */
    struct EffectOnHost
    {
        InstanceHost host;
        TestEffect effect;

        explicit EffectOnHost (std::function<void (TestEffect&)> createParameters)
        {
            host.AttachEffect (&effect);
            effect.onInit = std::move (createParameters);
            EXPECT_EQ (effect.Initialize (host.Unknown()), AAX_SUCCESS);
        }

        ~EffectOnHost() { effect.Uninitialize(); }

        float Value (const char* id)
        {
            AAX_IParameter* parameter = nullptr;
            effect.GetParameter (id, &parameter);
            float value = -1.0f;
            parameter->GetValueAsFloat (&value);
            return value;
        }

        ChunkRecord SaveControlsChunk()
        {
            uint32_t size = 0;
            EXPECT_EQ (effect.GetChunkSize (kControlsChunkID, &size), AAX_SUCCESS);
            ChunkRecord chunk (static_cast<int32_t> (size));
            chunk.get()->fChunkID = kControlsChunkID;
            EXPECT_EQ (effect.GetChunk (kControlsChunkID, chunk.get()), AAX_SUCCESS);
            return chunk;
        }
    };

    void MixerParameters (TestEffect& effect)
    {
        effect.AddFloat ("MasterBypassID", 0.0f);
        effect.AddFloat ("gain-1", 0.5f);
        effect.AddFloat ("mix", 0.1f);
        effect.AddFloat ("output", -6.0f, -24.0f, 24.0f);
    }

    std::string Text (const AAX_CString& text) { return text.Get(); }
}

//==============================================================================
TEST (ControlsChunkTests, KnownParametersGiveKnownBytes)
{
    EffectOnHost setup (MixerParameters);

    ChunkRecord chunk (60);
    chunk.get()->fManufacturerID = 11;
    chunk.get()->fProductID = 12;
    chunk.get()->fPlugInID = 13;
    chunk.get()->fChunkID = 14;

    uint32_t size = 0;
    ASSERT_EQ (setup.effect.GetChunkSize (kControlsChunkID, &size), AAX_SUCCESS);
    ASSERT_EQ (size, 60u);
    ASSERT_EQ (setup.effect.GetChunk (kControlsChunkID, chunk.get()), AAX_SUCCESS);

    Bytes expected { 1, 1, 1, 1 };
    Append (expected, "d_gain-1\0\0\0\0", 12);
    Append (expected, { 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 });            // 0.5
    Append (expected, "d_mix\0\0\0", 8);
    Append (expected, { 0x3F, 0xB9, 0x99, 0x99, 0xA0, 0, 0, 0 });   // the float 0.1 widened
    Append (expected, "d_output\0\0\0\0", 12);
    Append (expected, { 0xC0, 0x18, 0, 0, 0, 0, 0, 0 });            // -6

    EXPECT_EQ (chunk.data<uint8_t>(), expected);
    EXPECT_EQ (chunk.get()->fSize, 60);
    EXPECT_EQ (chunk.get()->fVersion, -1);

    char expectedName[32] = "Complete Controls State";
    EXPECT_EQ (std::memcmp (chunk.get()->fName, expectedName, sizeof (expectedName)), 0);
    EXPECT_EQ (chunk.get()->fManufacturerID, 11u);
    EXPECT_EQ (chunk.get()->fProductID, 12u);
    EXPECT_EQ (chunk.get()->fPlugInID, 13u);
    EXPECT_EQ (chunk.get()->fChunkID, 14u);
}

TEST (ControlsChunkTests, OnlyTheMasterBypassGivesTheMarkerAlone)
{
    EffectOnHost setup ([] (TestEffect& effect) { effect.AddFloat ("MasterBypassID", 1.0f); });

    ChunkRecord chunk = setup.SaveControlsChunk();
    EXPECT_EQ (chunk.get()->fSize, 4);
    EXPECT_EQ (chunk.data<uint8_t>(), (Bytes { 1, 1, 1, 1 }));
}

TEST (ControlsChunkTests, SizeMustBeAskedFirstAndOtherIDsAreRefused)
{
    EffectOnHost setup (MixerParameters);
    ChunkRecord chunk (64);

    EXPECT_EQ (setup.effect.GetChunk (kControlsChunkID, chunk.get()), AAX_ERROR_INCORRECT_CHUNK_SIZE);

    uint32_t size = 99;
    EXPECT_EQ (setup.effect.GetChunkSize (kJuceChunkID, &size), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ (size, 0u);
    EXPECT_EQ (setup.effect.GetChunk (kJuceChunkID, chunk.get()), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ (setup.effect.SetChunk (kJuceChunkID, chunk.get()), AAX_ERROR_INVALID_CHUNK_ID);

    int32_t count = 0;
    AAX_CTypeID id = 5;
    EXPECT_EQ (setup.effect.GetNumberOfChunks (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 1);
    EXPECT_EQ (setup.effect.GetChunkIDFromIndex (0, &id), AAX_SUCCESS);
    EXPECT_EQ (id, kControlsChunkID);
    EXPECT_EQ (setup.effect.GetChunkIDFromIndex (1, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
    EXPECT_EQ (id, 0u);
}

TEST (ControlsChunkTests, SavedChunkComparesEqualUntilAValueChanges)
{
    EffectOnHost setup (MixerParameters);
    ChunkRecord saved = setup.SaveControlsChunk();

    AAX_CBoolean equal = 0;
    EXPECT_EQ (setup.effect.CompareActiveChunk (saved.get(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 1);

    setup.effect.SetParameterNormalizedValue ("mix", 0.3);
    EXPECT_EQ (setup.effect.CompareActiveChunk (saved.get(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 0);

    // Another chunk ID is never compared.
    ChunkRecord juce (0);
    juce.get()->fChunkID = kJuceChunkID;
    EXPECT_EQ (setup.effect.CompareActiveChunk (juce.get(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 1);

    // A chunk without its marker loads as empty: different.
    ChunkRecord blank (8);
    blank.get()->fChunkID = kControlsChunkID;
    EXPECT_EQ (setup.effect.CompareActiveChunk (blank.get(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 0);
}

TEST (ControlsChunkTests, RestoringAppliesStoredValuesThroughTheHost)
{
    EffectOnHost setup (MixerParameters);
    ChunkRecord saved = setup.SaveControlsChunk();

    setup.effect.SetParameterNormalizedValue ("gain-1", 0.9);
    setup.effect.SetParameterNormalizedValue ("output", 1.0);
    setup.effect.SetParameterNormalizedValue ("MasterBypassID", 1.0);
    setup.host.ClearRecords();

    EXPECT_EQ (setup.effect.SetChunk (kControlsChunkID, saved.get()), AAX_SUCCESS);

    EXPECT_FLOAT_EQ (setup.Value ("gain-1"), 0.5f);
    EXPECT_FLOAT_EQ (setup.Value ("mix"), 0.1f);
    EXPECT_FLOAT_EQ (setup.Value ("output"), -6.0f);
    EXPECT_FLOAT_EQ (setup.Value ("MasterBypassID"), 1.0f);   // filtered: never restored

    const auto calls = setup.host.AutomationCalls();
    EXPECT_NE (std::find (calls.begin(), calls.end(), "set gain-1 0.5"), calls.end());
}

TEST (ControlsChunkTests, RestoringKeepsParametersTheChunkDoesNotName)
{
    EffectOnHost setup (MixerParameters);

    Bytes data { 1, 1, 1, 1 };
    Append (data, "d_mix\0\0\0", 8);
    Append (data, { 0x3F, 0xE8, 0, 0, 0, 0, 0, 0 });   // 0.75
    Append (data, "l_gain-1\0\0\0\0", 12);             // right name, wrong type
    Append (data, { 0, 0, 0, 0 });
    ChunkRecord chunk (0, data);

    setup.effect.SetChunk (kControlsChunkID, chunk.get());

    EXPECT_FLOAT_EQ (setup.Value ("mix"), 0.75f);
    EXPECT_FLOAT_EQ (setup.Value ("gain-1"), 0.5f);
    EXPECT_FLOAT_EQ (setup.Value ("output"), -6.0f);
}

TEST (ControlsChunkTests, OutOfRangeStoredValuesAreLimitedByTheTaperAndNaNIsIgnored)
{
    EffectOnHost setup (MixerParameters);

    Bytes data { 1, 1, 1, 1 };
    Append (data, "d_output\0\0\0\0", 12);
    Append (data, { 0x7F, 0xE0, 0, 0, 0, 0, 0, 0 });   // 2^1023: no float holds it
    Append (data, "d_mix\0\0\0", 8);
    Append (data, { 0x7F, 0xF8, 0, 0, 0, 0, 0, 0 });   // NaN
    ChunkRecord chunk (0, data);

    setup.effect.SetChunk (kControlsChunkID, chunk.get());

    EXPECT_FLOAT_EQ (setup.Value ("output"), 24.0f);
    EXPECT_FLOAT_EQ (setup.Value ("mix"), 0.1f);   // NaN names no value: kept
}

// Random and mutated chunks through SetChunk and CompareActiveChunk: nothing
// outside the chunk's bytes is read, and every parameter stays in its range.
TEST (ControlsChunkTests, RandomChunksAreAppliedAndComparedSafely)
{
    EffectOnHost setup (MixerParameters);
    const Bytes valid = setup.SaveControlsChunk().data<uint8_t>();

    std::mt19937 random (77u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (2);
    int iterations = 0;

    while (iterations < 30000 && std::chrono::steady_clock::now() < deadline)
    {
        ++iterations;
        Bytes data = valid;

        if (iterations % 4 == 0)
        {
            data.resize (random() % 96);
            for (auto& byte : data)
                byte = static_cast<uint8_t> (random());
        }
        else
        {
            const int mutations = 1 + static_cast<int> (random() % 4);

            for (int m = 0; m < mutations && ! data.empty(); ++m)
            {
                switch (random() % 3)
                {
                    case 0: data[random() % data.size()] = static_cast<uint8_t> (random()); break;
                    case 1: data.resize (random() % (data.size() + 1)); break;
                    default: data.insert (data.begin() + static_cast<long> (random() % data.size()), static_cast<uint8_t> (random())); break;
                }
            }
        }

        ChunkRecord chunk (0, data);
        chunk.get()->fChunkID = kControlsChunkID;

        AAX_CBoolean equal = 2;
        ASSERT_EQ (setup.effect.CompareActiveChunk (chunk.get(), &equal), AAX_SUCCESS);
        ASSERT_TRUE (equal == 0 || equal == 1);
        ASSERT_EQ (setup.effect.SetChunk (kControlsChunkID, chunk.get()), AAX_SUCCESS);

        for (const char* id : { "gain-1", "mix" })
        {
            const float value = setup.Value (id);
            ASSERT_TRUE (value >= 0.0f && value <= 1.0f) << id << " " << value;
        }

        const float output = setup.Value ("output");
        ASSERT_TRUE (output >= -24.0f && output <= 24.0f) << output;
    }

    EXPECT_GT (iterations, 1000);
}

//==============================================================================
TEST (EffectParameterTests, NameOfLengthPicksTheLongestLineThatFits)
{
    TestEffect effect;
    effect.AddFloat ("lp", 0.0f)->SetName (AAX_CString ("Low\nPass\n"));

    auto name = [&effect] (int32_t length)
    {
        AAX_CString out ("unchanged");
        EXPECT_EQ (effect.GetParameterNameOfLength ("lp", &out, length), AAX_SUCCESS);
        return Text (out);
    };

    EXPECT_EQ (name (4), "Pass");
    EXPECT_EQ (name (3), "Low");
    EXPECT_EQ (name (2), "Lo");
    EXPECT_EQ (name (0), "");
    EXPECT_EQ (name (-3), "");

    AAX_CString out ("x");
    EXPECT_EQ (effect.GetParameterNameOfLength ("lp", nullptr, 4), AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ (effect.GetParameterNameOfLength ("nope", &out, 4), AAX_SUCCESS);
    EXPECT_EQ (Text (out), "");

    effect.AddFloat ("blank", 0.0f)->SetName (AAX_CString (""));
    AAX_CString kept ("kept");
    EXPECT_EQ (effect.GetParameterNameOfLength ("blank", &kept, 4), AAX_SUCCESS);
    EXPECT_EQ (Text (kept), "kept");
}

TEST (EffectParameterTests, RelativeChangesAreClampedToTheUnitRange)
{
    EffectOnHost setup (MixerParameters);

    EXPECT_EQ (setup.effect.SetParameterNormalizedRelative ("gain-1", 0.7), AAX_SUCCESS);
    double value = 0;
    setup.effect.GetParameterNormalizedValue ("gain-1", &value);
    EXPECT_DOUBLE_EQ (value, 1.0);

    EXPECT_EQ (setup.effect.UpdateParameterNormalizedRelative ("gain-1", -3.0), AAX_SUCCESS);
    setup.effect.GetParameterNormalizedValue ("gain-1", &value);
    EXPECT_DOUBLE_EQ (value, 0.0);

    EXPECT_EQ (setup.effect.SetParameterNormalizedRelative ("none", 0.1), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (setup.effect.UpdateParameterNormalizedRelative ("none", 0.1), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST (EffectParameterTests, UpdatesCountOnlyRealChangesButAlwaysMarkPackets)
{
    EffectOnHost setup ([] (TestEffect& effect)
    {
        effect.AddFloat ("MasterBypassID", 0.0f);
        effect.Dispatcher().RegisterPacket ("MasterBypassID", 3);
    });

    setup.effect.GenerateCoefficients();   // the new packet's first posting
    setup.host.ClearRecords();

    int32_t changes = -1;
    EXPECT_EQ (setup.effect.UpdateParameterNormalizedValue ("MasterBypassID", 0.0, 0), AAX_SUCCESS);
    setup.effect.GetNumberOfChanges (&changes);
    EXPECT_EQ (changes, 0);

    EXPECT_EQ (setup.effect.GenerateCoefficients(), AAX_SUCCESS);
    ASSERT_EQ (setup.host.Posted().size(), 1u);
    EXPECT_EQ (setup.host.Posted()[0].field, 3);

    setup.effect.UpdateParameterNormalizedValue ("MasterBypassID", 1.0, 0);
    setup.effect.GetNumberOfChanges (&changes);
    EXPECT_EQ (changes, 1);

    EXPECT_EQ (setup.effect.UpdateParameterNormalizedValue ("none", 1.0, 0), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST (EffectParameterTests, SingleValuePacketsCarryTheParametersType)
{
    EffectOnHost setup ([] (TestEffect& effect)
    {
        effect.Add<bool> ("switch", true, false, true);
        effect.Add<double> ("precise", 0.25, 0.0, 1.0);
        effect.AddFloat ("level", 0.5f);
        effect.Dispatcher().RegisterPacket ("switch", 1);
        effect.Dispatcher().RegisterPacket ("precise", 2);
        effect.Dispatcher().RegisterPacket ("level", 4);
        effect.Dispatcher().RegisterPacket ("missing", 5);
    });

    EXPECT_EQ (setup.effect.GenerateCoefficients(), AAX_SUCCESS);
    const auto posted = setup.host.Posted();
    ASSERT_EQ (posted.size(), 3u);   // "missing" names no parameter: nothing posted

    auto packetFor = [&posted] (AAX_CFieldIndex field)
    {
        for (const auto& packet : posted)
            if (packet.field == field)
                return packet.payload;
        return Bytes();
    };

    int32_t flag = 0;
    double precise = 0;
    float level = 0;
    ASSERT_EQ (packetFor (1).size(), 4u);
    std::memcpy (&flag, packetFor (1).data(), 4);
    EXPECT_EQ (flag, 1);
    ASSERT_EQ (packetFor (2).size(), 8u);
    std::memcpy (&precise, packetFor (2).data(), 8);
    EXPECT_EQ (precise, 0.25);
    ASSERT_EQ (packetFor (4).size(), 4u);
    std::memcpy (&level, packetFor (4).data(), 4);
    EXPECT_EQ (level, 0.5f);
}

TEST (EffectParameterTests, PreviewNotificationSwitchesThePreviewParameter)
{
    EffectOnHost setup ([] (TestEffect& effect) { effect.Add<bool> ("PreviewID", false, false, true); });

    AAX_IParameter* preview = nullptr;
    setup.effect.GetParameter ("PreviewID", &preview);
    bool state = false;

    const int32_t on = 1;
    EXPECT_EQ (setup.effect.NotificationReceived (kPreviewStateNotification, &on, sizeof (on)), AAX_SUCCESS);
    preview->GetValueAsBool (&state);
    EXPECT_TRUE (state);

    // Missing or short data is ignored rather than read.
    EXPECT_EQ (setup.effect.NotificationReceived (kPreviewStateNotification, nullptr, 4), AAX_SUCCESS);
    const int16_t shortOff = 0;
    EXPECT_EQ (setup.effect.NotificationReceived (kPreviewStateNotification, &shortOff, sizeof (shortOff)), AAX_SUCCESS);
    preview->GetValueAsBool (&state);
    EXPECT_TRUE (state);

    const int32_t off = 0;
    setup.effect.NotificationReceived (kPreviewStateNotification, &off, sizeof (off));
    preview->GetValueAsBool (&state);
    EXPECT_FALSE (state);
}

TEST (EffectParameterTests, QueriesOnUnknownIDsAndSimpleSlots)
{
    TestEffect effect;

    AAX_CString bypass ("x");
    EXPECT_EQ (effect.GetMasterBypassParameter (&bypass), AAX_SUCCESS);
    EXPECT_EQ (Text (bypass), "");

    effect.AddFloat ("gain", 0.5f, -10.0f, 10.0f);

    AAX_CBoolean automatable = 7;
    EXPECT_EQ (effect.GetParameterIsAutomatable ("none", &automatable), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (automatable, 0);

    int32_t index = 5;
    EXPECT_EQ (effect.GetParameterIndex ("none", &index), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (index, -1);

    AAX_CString id ("x");
    EXPECT_EQ (effect.GetParameterIDFromIndex (1, &id), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (Text (id), "");
    EXPECT_EQ (effect.GetParameterIDFromIndex (0, &id), AAX_SUCCESS);
    EXPECT_EQ (Text (id), "gain");

    AAX_IParameter* parameter = reinterpret_cast<AAX_IParameter*> (&effect);
    EXPECT_EQ (effect.GetParameter ("none", &parameter), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (parameter, nullptr);

    int32_t info = 9;
    EXPECT_EQ (effect.GetParameterValueInfo ("gain", 0, &info), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (info, 0);

    double normalized = 3.0;
    EXPECT_EQ (effect.GetParameterValueFromString ("gain", &normalized, AAX_CString ("loud")), AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ (normalized, 3.0);
    EXPECT_EQ (effect.GetParameterValueFromString ("gain", &normalized, AAX_CString ("5")), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (normalized, 0.75);

    AAX_CString text;
    EXPECT_EQ (effect.GetParameterStringFromValue ("gain", 0.25, &text, 3), AAX_SUCCESS);
    EXPECT_EQ (Text (text), "-5");
    EXPECT_EQ (effect.GetParameterValueString ("gain", &text, 10), AAX_SUCCESS);
    EXPECT_EQ (Text (text), "0.500");

    int32_t steps = 0;
    EXPECT_EQ (effect.GetParameterNumberofSteps ("gain", &steps), AAX_SUCCESS);
    EXPECT_EQ (steps, 128);

    uint8_t field[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    EXPECT_EQ (effect.ResetFieldData (0, field, 6), AAX_SUCCESS);
    EXPECT_EQ (field[5], 0);
    EXPECT_EQ (field[6], 7);

    uint32_t written = 5;
    EXPECT_EQ (effect.GetCustomData (0, 4, field, &written), AAX_SUCCESS);
    EXPECT_EQ (written, 0u);
    EXPECT_EQ (effect.GetCurveData (0, nullptr, 0, nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (effect.RenderAudio_Hybrid (nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (effect.UpdatePageTable (0, 0, nullptr, nullptr), AAX_SUCCESS);
}

//==============================================================================
TEST (EffectLifecycleTests, InitializeFiltersTheBypassAndUninitializeReleasesTheHost)
{
    InstanceHost host;

    {
        TestEffect effect;
        host.AttachEffect (&effect);
        effect.onInit = MixerParameters;

        ASSERT_EQ (effect.Initialize (host.Unknown()), AAX_SUCCESS);
        EXPECT_NE (effect.Controller(), nullptr);
        EXPECT_NE (effect.Transport(), nullptr);
        EXPECT_EQ (effect.NumChunkedParameters(), 3);
        EXPECT_NE (host.Unbalanced(), "");

        AAX_CString bypass;
        effect.GetMasterBypassParameter (&bypass);
        EXPECT_EQ (Text (bypass), "MasterBypassID");

        host.ClearRecords();
        EXPECT_EQ (effect.Uninitialize(), AAX_SUCCESS);
        EXPECT_EQ (effect.Controller(), nullptr);

        int32_t count = -1;
        effect.GetNumberOfParameters (&count);
        EXPECT_EQ (count, 0);
        EXPECT_EQ (host.AutomationCalls().front(), "unregister MasterBypassID");
    }

    EXPECT_EQ (host.Unbalanced(), "");
}

TEST (EffectLifecycleTests, DestroyingWithoutUninitializeStillReleasesTheHost)
{
    InstanceHost host;

    {
        TestEffect effect;
        effect.onInit = MixerParameters;
        effect.Initialize (host.Unknown());
    }

    EXPECT_EQ (host.Unbalanced(), "");
}

TEST (EffectLifecycleTests, FailedEffectInitIsReturnedAndSkipsTheChunkBookkeeping)
{
    InstanceHost host;
    TestEffect effect;
    effect.onInit = MixerParameters;
    effect.initResult = AAX_ERROR_NOT_INITIALIZED;

    EXPECT_EQ (effect.Initialize (host.Unknown()), AAX_ERROR_NOT_INITIALIZED);
    EXPECT_EQ (effect.NumChunkedParameters(), 0);
    EXPECT_NE (effect.Controller(), nullptr);

    // The bypass was never filtered, so it is saved with the rest.
    uint32_t size = 0;
    effect.GetChunkSize (kControlsChunkID, &size);
    EXPECT_EQ (size, 4u + 28u + 20u + 16u + 20u);
    effect.Uninitialize();
}

TEST (EffectLifecycleTests, MoreFilteredIDsThanParametersIsReported)
{
    InstanceHost host;
    librarytest::ScopedStartup startup (host.host);
    TestEffect effect;
    effect.onInit = [] (TestEffect& e)
    {
        e.AddFloat ("only", 0.0f);
        e.FilterParameterIDOnSave ("a");
        e.FilterParameterIDOnSave ("b");
        e.FilterParameterIDOnSave ("b");
        e.FilterParameterIDOnSave (nullptr);
    };

    effect.Initialize (host.Unknown());

    EXPECT_EQ (effect.NumChunkedParameters(), -2);   // "a", "b" and the empty bypass ID
    const auto asserts = host.host.services().asserts();
    ASSERT_EQ (asserts.size(), 1u);
    EXPECT_EQ (asserts[0].note, "mNumChunkedParameters >= 0");
    EXPECT_EQ (asserts[0].line, 128);
    EXPECT_NE (asserts[0].file.find ("Libs/AAXLibrary/source/AAX_CEffectParameters"), std::string::npos);
    effect.Uninitialize();
}

TEST (EffectLifecycleTests, AnswersTheFourInterfaceVersionsWithAReference)
{
    auto* effect = new TestEffect();
    effect->AddRef();
    const uint32_t liveBefore = CACFUnknown::GetActiveObjectCount();

    for (const acfIID& iid : { IID_IAAXEffectParametersV1, IID_IAAXEffectParametersV2,
                               IID_IAAXEffectParametersV3, IID_IAAXEffectParametersV4 })
    {
        void* out = nullptr;
        ASSERT_EQ (effect->QueryInterface (iid, &out), ACF_OK);
        EXPECT_EQ (out, static_cast<AAX_IACFEffectParameters_V4*> (effect));
        EXPECT_EQ (static_cast<IACFUnknown*> (out)->Release(), 1u);
    }

    void* out = effect;
    EXPECT_EQ (effect->QueryInterface (IID_IAAXEffectGUIV1, &out), ACF_E_NOINTERFACE);
    EXPECT_EQ (out, nullptr);

    EXPECT_EQ (liveBefore, CACFUnknown::GetActiveObjectCount());
    EXPECT_EQ (effect->Release(), 0u);   // deletes it
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), liveBefore - 1);
}
