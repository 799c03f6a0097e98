// The plug-in bundle end to end through the host's side of the interfaces:
// instances made, initialised, automated, processed, saved, restored, shown
// and released, compared sample for sample with the processor driven
// directly, and two instances processing on their own threads while the
// host automates both.

#include "BundleTestSupport.h"

#include "AAX_Errors.h"
#include "PageTable.h"
#include "engine/MultiAudioProcessor.h"

#include <atomic>
#include <cstdlib>
#include <thread>

using namespace zelkhost;

namespace
{
    constexpr float sampleRate = 48000.0f;
    constexpr int hostBlock = 480;
    constexpr int preparedBlock = 1024; // the block size the plug-in prepares for first

    std::unique_ptr<EffectInstance> makeInstance (PluginSession& session, int channels, InstanceOptions options = {})
    {
        options.sampleRate = sampleRate;
        std::string error;
        auto instance = EffectInstance::create (session.host(), session.effect(), channels, options, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    void automateAll (EffectInstance& instance, const std::vector<std::pair<std::string, double>>& setting)
    {
        for (const auto& [id, value] : setting)
            ASSERT_EQ (instance.automate (id, value), AAX_SUCCESS) << id;
    }

    void processInBlocks (EffectInstance& instance, std::vector<std::vector<float>>& audio)
    {
        const auto total = static_cast<int> (audio.front().size());
        for (int start = 0; start < total; start += hostBlock)
        {
            std::vector<const float*> in;
            std::vector<float*> out;
            for (auto& channel : audio)
            {
                in.push_back (channel.data() + start);
                out.push_back (channel.data() + start);
            }
            instance.process (in.data(), out.data(), std::min (hostBlock, total - start));
        }
    }

    /** The same setting and audio through the processor linked into this program. */
    std::vector<std::vector<float>> processDirectly (const std::vector<std::pair<std::string, double>>& setting,
                                                     std::vector<std::vector<float>> audio)
    {
        MultiAudioProcessor processor;
        const auto channels = static_cast<int> (audio.size());
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (channels));
        layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (channels));
        EXPECT_TRUE (processor.setBusesLayout (layout));

        for (const auto& [id, value] : setting)
            for (auto* parameter : processor.getParameters())
                if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter); ranged != nullptr && ranged->getParameterID() == juce::String (id))
                    if (ranged->getValue() != (float) value)
                        ranged->setValueNotifyingHost ((float) value);

        processor.setRateAndBufferSizeDetails (sampleRate, preparedBlock);
        processor.prepareToPlay (sampleRate, preparedBlock);

        juce::MidiBuffer midi;
        const auto total = static_cast<int> (audio.front().size());
        for (int start = 0; start < total; start += hostBlock)
        {
            std::vector<float*> pointers;
            for (auto& channel : audio)
                pointers.push_back (channel.data() + start);
            juce::AudioBuffer<float> block (pointers.data(), channels, std::min (hostBlock, total - start));
            processor.processBlock (block, midi);
        }
        processor.releaseResources();
        return audio;
    }

    class BundleEndToEnd : public ::testing::Test
    {
    protected:
        void SetUp() override { bundletest::openSession (session); }

        void TearDown() override
        {
            EXPECT_EQ (session.close(), 0) << "objects of the plug-in still alive";
            EXPECT_TRUE (session.host().registry().unbalancedObjects().empty());
        }

        PluginSession session;
    };
}

TEST_F (BundleEndToEnd, AutomatedAudioMatchesTheProcessorDrivenDirectly)
{
    for (const int channels : { 2, 1 })
    {
        auto instance = makeInstance (session, channels);
        ASSERT_NE (instance, nullptr);

        const auto ids = instance->parameterIDs();
        ASSERT_EQ (ids.size(), 74u); // the 73 processor parameters and "MasterBypassID"
        EXPECT_NE (std::find (ids.begin(), ids.end(), "MasterBypassID"), ids.end());

        const auto setting = bundletest::settingFor (ids, 7u + (unsigned) channels);
        automateAll (*instance, setting);

        // Every request went through the host and came back as the effect's value.
        auto& automation = instance->controller().automation();
        EXPECT_GE (automation.setValueRequests(), 1);
        EXPECT_EQ (automation.touchRequests(), automation.releaseRequests());
        EXPECT_EQ (automation.registeredParameters().size(), ids.size());

        ASSERT_EQ (instance->startProcessing(), AAX_SUCCESS);

        auto throughBundle = bundletest::makeAudio (channels, 24000);
        const auto input = throughBundle;
        std::srand (1); // the "Tape" curve draws from the C library's generator
        processInBlocks (*instance, throughBundle);

        std::vector<std::pair<std::string, double>> settled;
        for (const auto& id : ids)
        {
            double value = -1.0;
            ASSERT_EQ (instance->normalizedValue (id, value), AAX_SUCCESS) << id;
            settled.emplace_back (id, value);
        }

        std::srand (1);
        const auto direct = processDirectly (settled, input);

        double difference = 0.0, energy = 0.0;
        for (int c = 0; c < channels; ++c)
            for (std::size_t i = 0; i < direct[0].size(); ++i)
            {
                difference += std::abs (throughBundle[(std::size_t) c][i] - direct[(std::size_t) c][i]);
                energy += std::abs (direct[(std::size_t) c][i]);
            }
        EXPECT_EQ (difference, 0.0) << channels << " channel(s): the bundle's output differs from the processor's";
        EXPECT_GT (energy, 1.0) << "the setting silenced the effect, the comparison proves little";
        EXPECT_NE (throughBundle, input) << "the effect left the audio untouched";

        EXPECT_EQ (instance->uninitialize(), AAX_SUCCESS);
    }
}

TEST_F (BundleEndToEnd, MasterBypassPacketReachesTheAlgorithm)
{
    auto instance = makeInstance (session, 2);
    ASSERT_NE (instance, nullptr);
    automateAll (*instance, bundletest::settingFor (instance->parameterIDs(), 3u));
    ASSERT_EQ (instance->automate ("MasterBypassID", 1.0), AAX_SUCCESS);
    ASSERT_EQ (instance->startProcessing(), AAX_SUCCESS);

    const auto packets = instance->controller().postedPackets();
    ASSERT_FALSE (packets.empty());
    EXPECT_EQ (packets.back().payload.size(), 4u);

    auto audio = bundletest::makeAudio (2, 4800);
    const auto input = audio;
    processInBlocks (*instance, audio);
    EXPECT_EQ (audio, input);

    ASSERT_EQ (instance->automate ("MasterBypassID", 0.0), AAX_SUCCESS);
    processInBlocks (*instance, audio);
    EXPECT_NE (audio, input);
}

TEST_F (BundleEndToEnd, SavedChunksRestoreIntoASecondInstance)
{
    auto first = makeInstance (session, 2);
    auto second = makeInstance (session, 2);
    ASSERT_NE (first, nullptr);
    ASSERT_NE (second, nullptr);

    const auto setting = bundletest::settingFor (first->parameterIDs(), 11u);
    automateAll (*first, setting);

    ChunkSet saved;
    ASSERT_EQ (first->saveChunks (saved), AAX_SUCCESS);
    ASSERT_NE (saved.find (0x656C636Bu), nullptr); // 'elck'
    ASSERT_NE (saved.find (0x6A756365u), nullptr); // 'juce'

    bool equal = true;
    ASSERT_EQ (second->compareChunks (saved, equal), AAX_SUCCESS);
    EXPECT_FALSE (equal) << "a fresh instance compares equal to a changed setting";

    ASSERT_EQ (second->restoreChunks (saved), AAX_SUCCESS);
    ASSERT_EQ (second->compareChunks (saved, equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);

    for (const auto& [id, value] : setting)
    {
        double restored = -1.0, original = -2.0;
        ASSERT_EQ (first->normalizedValue (id, original), AAX_SUCCESS);
        ASSERT_EQ (second->normalizedValue (id, restored), AAX_SUCCESS);
        if (id != "MasterBypassID")
        {
            EXPECT_EQ (restored, original) << id;
        }
    }

    ChunkSet resaved;
    ASSERT_EQ (second->saveChunks (resaved), AAX_SUCCESS);
    EXPECT_EQ (resaved.find (0x656C636Bu)->data, saved.find (0x656C636Bu)->data);

    // Through the host's state file format and back.
    ChunkSet reread;
    std::string error;
    ASSERT_TRUE (ChunkSet::deserialise (saved.serialise(), reread, error)) << error;
    EXPECT_EQ (reread.chunks, saved.chunks);

    // Both instances then render the same audio.
    ASSERT_EQ (first->startProcessing(), AAX_SUCCESS);
    ASSERT_EQ (second->startProcessing(), AAX_SUCCESS);
    auto a = bundletest::makeAudio (2, 9600), b = a;
    std::srand (5);
    processInBlocks (*first, a);
    std::srand (5);
    processInBlocks (*second, b);
    EXPECT_EQ (a, b);
}

TEST_F (BundleEndToEnd, ViewOpensAndClosesThroughTheGuiObject)
{
    auto instance = makeInstance (session, 2);
    ASSERT_NE (instance, nullptr);

    ASSERT_EQ (instance->openView(), AAX_SUCCESS);
    EXPECT_TRUE (instance->isViewOpen());
    instance->idle();
    ASSERT_NE (instance->viewContainer(), nullptr);
    const auto sizes = instance->viewContainer()->requestedSizes();
    ASSERT_FALSE (sizes.empty());
    AAX_Point viewSize;
    ASSERT_EQ (instance->viewSize (viewSize), AAX_SUCCESS);
    EXPECT_GT (viewSize.horz, 0.0f);
    EXPECT_GT (viewSize.vert, 0.0f);
    EXPECT_EQ (sizes.back().horz, viewSize.horz);
    EXPECT_EQ (sizes.back().vert, viewSize.vert);

    EXPECT_EQ (instance->closeView(), AAX_SUCCESS);
    EXPECT_FALSE (instance->isViewOpen());
    EXPECT_EQ (instance->openView(), AAX_SUCCESS);
    EXPECT_EQ (instance->uninitialize(), AAX_SUCCESS);
    instance->release();
    EXPECT_EQ (session.bundle().canUnloadNow (session.host().unknown()), 0);
    EXPECT_EQ (instance->viewContainer()->references(), 0);
    EXPECT_EQ (instance->controller().references(), 0);
}

TEST_F (BundleEndToEnd, LiveInstancesKeepTheBundleLoaded)
{
    auto instance = makeInstance (session, 1);
    ASSERT_NE (instance, nullptr);
    EXPECT_GE (session.bundle().canUnloadNow (session.host().unknown()), 1);
    EXPECT_FALSE (session.bundle().unload());
    EXPECT_TRUE (session.bundle().isLoaded());

    instance.reset();
    EXPECT_EQ (session.bundle().canUnloadNow (session.host().unknown()), 0);
}

TEST_F (BundleEndToEnd, PageTablesListTheEffectsParameters)
{
    auto instance = makeInstance (session, 2);
    ASSERT_NE (instance, nullptr);
    auto& effect = static_cast<AAX_IACFEffectParameters_V4&> (instance->parameters());

    void* table = nullptr;
    ASSERT_EQ (session.host().componentFactory()->CreateComponent (AAXCompID_PageTable, nullptr, IID_IAAXPageTableV1, &table), ACF_OK);
    auto* tableUnknown = static_cast<IACFUnknown*> (table);

    // The effect has no page table of its own; a host table that it can reach
    // gets the library's default answer, one it cannot reach is ignored.
    EXPECT_EQ (effect.UpdatePageTable (0, 8, session.host().unknown(), tableUnknown), AAX_ERROR_UNIMPLEMENTED);
    session.host().options().pageTable = noVersions;
    EXPECT_EQ (effect.UpdatePageTable (0, 8, session.host().unknown(), tableUnknown), AAX_SUCCESS);
    session.host().options().pageTable = versionsUpTo (2);

    // The controller fills a table copy with every parameter, page by page.
    ASSERT_EQ (instance->controller().CreateTableCopyForEffect (0, 0, 0, 0, 8, tableUnknown), AAX_SUCCESS);
    auto* hostTable = session.host().registry().find<HostPageTable> (table);
    ASSERT_NE (hostTable, nullptr);
    EXPECT_EQ (hostTable->pages().size(), (instance->parameterIDs().size() + 7) / 8);
    tableUnknown->Release();
}

TEST_F (BundleEndToEnd, MissingControllerVersionsGiveTheLibrarysCodes)
{
    // Without the automation delegate the host hears of no request, and the
    // instance still initialises, processes and goes away cleanly.
    InstanceOptions noAutomation;
    noAutomation.automationDelegate = false;
    auto instance = makeInstance (session, 2, noAutomation);
    ASSERT_NE (instance, nullptr);
    instance->automate ("output", 0.1);
    EXPECT_EQ (instance->controller().automation().setValueRequests(), 0);
    EXPECT_TRUE (instance->controller().automation().registeredParameters().empty());
    ASSERT_EQ (instance->startProcessing(), AAX_SUCCESS);
    auto audio = bundletest::makeAudio (2, 2048);
    processInBlocks (*instance, audio);
    for (const auto& channel : audio)
        for (const auto sample : channel)
            ASSERT_TRUE (std::isfinite (sample));
    instance.reset();

    // Without controller version 1 no packet can be posted.
    InstanceOptions noController;
    noController.controller = noVersions;
    std::string error;
    EXPECT_EQ (EffectInstance::create (session.host(), session.effect(), 2, noController, error), nullptr);
    EXPECT_NE (error.find (std::to_string (AAX_ERROR_NULL_OBJECT)), std::string::npos) << error;
}

TEST_F (BundleEndToEnd, TwoInstancesProcessOnTheirOwnThreadsWhileTheHostAutomatesBoth)
{
    auto stereo = makeInstance (session, 2);
    auto mono = makeInstance (session, 1);
    ASSERT_NE (stereo, nullptr);
    ASSERT_NE (mono, nullptr);

    // Keep away from "Tape", whose random draws would make the threads share the C library's generator.
    auto setting = bundletest::settingFor (stereo->parameterIDs(), 21u);
    for (auto& [id, value] : setting)
        if (id.rfind ("type-", 0) == 0)
            value = 0.3;
    automateAll (*stereo, setting);
    automateAll (*mono, setting);
    ASSERT_EQ (stereo->startProcessing(), AAX_SUCCESS);
    ASSERT_EQ (mono->startProcessing(), AAX_SUCCESS);

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 };
    auto play = [&] (EffectInstance& instance)
    {
        auto audio = bundletest::makeAudio (instance.channels(), hostBlock);
        auto out = audio;
        const auto in = bundletest::readPointers (audio);
        const auto outputs = bundletest::writePointers (out);
        while (! stop.load())
        {
            instance.process (in.data(), outputs.data(), hostBlock);
            for (const auto& channel : out)
                for (const auto sample : channel)
                    ASSERT_TRUE (std::isfinite (sample));
            ++blocks;
        }
    };

    std::thread stereoThread (play, std::ref (*stereo));
    std::thread monoThread (play, std::ref (*mono));

    const std::vector<std::string> moving { "output", "output_mix", "gain-1", "mix-2", "compgain-3", "frequency_crossover-2",
                                            "frequency_lowpass-1", "frequency_highpass-4", "numCrossovers", "MasterBypassID" };
    for (int round = 0; round < 60; ++round)
        for (std::size_t i = 0; i < moving.size(); ++i)
        {
            const double value = moving[i] == "MasterBypassID" ? (round % 2) : std::fmod (0.37 * round + 0.11 * (double) i, 1.0);
            EXPECT_EQ (stereo->automate (moving[i], value), AAX_SUCCESS);
            EXPECT_EQ (mono->automate (moving[i], 1.0 - value), AAX_SUCCESS);
        }

    while (blocks.load() < 40)
        std::this_thread::yield();
    stop = true;
    stereoThread.join();
    monoThread.join();
    EXPECT_GE (blocks.load(), 40);
}
