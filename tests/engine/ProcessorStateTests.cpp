// The processor's fixed answers, bus layouts and host state (save/restore).

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <limits>

using testsupport::getPlain;
using testsupport::setPlain;

namespace
{
    juce::MemoryBlock saveState (MultiAudioProcessor& processor)
    {
        juce::MemoryBlock block;
        processor.getStateInformation (block);
        return block;
    }

    std::map<juce::String, float> allValues (MultiAudioProcessor& processor)
    {
        std::map<juce::String, float> values;
        for (auto* parameter : processor.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
                values[ranged->getParameterID()] = ranged->getValue();
        return values;
    }

    juce::AudioProcessor::BusesLayout layoutOf (const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (in);
        layout.outputBuses.add (out);
        return layout;
    }
}

TEST (ProcessorAnswers, FixedAnswersToTheHost)
{
    MultiAudioProcessor processor;
    EXPECT_EQ (processor.getName(), "ZELK-MULTI");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_TRUE (processor.getProgramName (0).isEmpty());
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (processor.getBypassParameter(), nullptr);

    const auto before = allValues (processor);
    processor.setCurrentProgram (5);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (allValues (processor), before);

    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getTotalNumInputChannels(), 2);
}

TEST (ProcessorAnswers, StartsWithFiveCrossoversAndSixBands)
{
    MultiAudioProcessor processor;
    EXPECT_EQ (processor.crossoverCount, 5u);
    ASSERT_EQ (processor.crossovers.size(), 5u);
    ASSERT_EQ (processor.bands.size(), 6u);
    for (auto& band : processor.bands)
        EXPECT_TRUE (band.enabled);
    EXPECT_EQ (processor.getParameters().size(), 73);
}

TEST (ProcessorBuses, OnlyMatchingMonoOrStereoLayouts)
{
    MultiAudioProcessor processor;
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    EXPECT_TRUE (processor.checkBusesLayoutSupported (layoutOf (mono, mono)));
    EXPECT_TRUE (processor.checkBusesLayoutSupported (layoutOf (stereo, stereo)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (layoutOf (mono, stereo)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (layoutOf (stereo, mono)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (layoutOf (juce::AudioChannelSet::createLCR(), juce::AudioChannelSet::createLCR())));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (layoutOf (juce::AudioChannelSet::quadraphonic(), juce::AudioChannelSet::quadraphonic())));
}

TEST (ProcessorState, FreshStateHasOneParamChildPerParameter)
{
    MultiAudioProcessor processor;
    const auto block = saveState (processor);
    const auto tree = juce::ValueTree::readFromData (block.getData(), block.getSize());
    ASSERT_TRUE (tree.isValid());
    EXPECT_EQ (tree.getType().toString(), "ZELK-MULTI");
    EXPECT_EQ (tree.getNumChildren(), 73);
    for (const auto& child : tree)
    {
        EXPECT_EQ (child.getType().toString(), "PARAM");
        EXPECT_EQ (child["value"], juce::var (getPlain (processor.apvts, child["id"])));  // changed or not
    }
    EXPECT_TRUE (tree.getChildWithProperty ("id", "gain-3").isValid());
}

TEST (ProcessorState, RestoreIntoAFreshInstanceGivesEverySavedValue)
{
    MultiAudioProcessor source;
    setPlain (source.apvts, "gain-3", 25.0f);
    setPlain (source.apvts, "type-1", 4.0f);
    setPlain (source.apvts, "output", -12.0f);
    setPlain (source.apvts, "frequency_crossover-2", 1230.0f);
    setPlain (source.apvts, "real_active-4", 0.0f);
    setPlain (source.apvts, "numCrossovers", 3.0f);

    MultiAudioProcessor restored;
    const auto block = saveState (source);
    restored.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (allValues (restored), allValues (source));
    EXPECT_FLOAT_EQ (getPlain (restored.apvts, "gain-3"), 25.0f);
    EXPECT_EQ (restored.bands[2].gain, 25.0f);
    EXPECT_EQ (restored.crossoverCount, 3u);
    EXPECT_FALSE (restored.bands[3].realActive);
}

TEST (ProcessorState, BadBlobsChangeNothing)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "gain-3", 30.0f);
    const auto before = allValues (processor);
    const auto good = saveState (processor);

    const char foreign[] = "<?xml version=\"1.0\"?><PRESETS/>";
    const unsigned char garbage[] = { 0xff, 0xff, 0xff, 0x7f, 0x01, 0x02 };
    const std::vector<std::pair<const void*, int>> blobs {
        { nullptr, 0 },
        { good.getData(), 0 },
        { good.getData(), (int) good.getSize() / 2 },     // truncated
        { foreign, (int) sizeof (foreign) },
        { garbage, (int) sizeof (garbage) },
    };

    for (size_t i = 0; i < blobs.size(); ++i)
    {
        processor.setStateInformation (blobs[i].first, blobs[i].second);
        for (auto& [id, value] : allValues (processor))
            EXPECT_EQ (value, before.at (id)) << "blob " << i << ", parameter " << id;
    }
}

TEST (ProcessorState, CountsTheDataCannotHoldAreRefusedBeforeReading)
{
    // A tree "A" claiming 2^31 - 1 properties, and one claiming as many
    // children: JUCE's reader would loop for billions of steps or reserve
    // gigabytes on these few bytes.
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "gain-3", 30.0f);
    const auto before = allValues (processor);

    const unsigned char manyProperties[] = { 0x41, 0x00, 0x04, 0xff, 0xff, 0xff, 0x7f };
    const unsigned char manyChildren[] = { 0x41, 0x00, 0x00, 0x04, 0xff, 0xff, 0xff, 0x7f };
    processor.setStateInformation (manyProperties, (int) sizeof (manyProperties));
    processor.setStateInformation (manyChildren, (int) sizeof (manyChildren));

    EXPECT_EQ (allValues (processor), before);
}

TEST (ProcessorState, AParameterMissingFromTheTreeGetsItsDefault)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "gain-3", 30.0f);
    setPlain (processor.apvts, "gain-2", 40.0f);

    juce::ValueTree tree ("ZELK-MULTI");
    juce::ValueTree child ("PARAM");
    child.setProperty ("id", "gain-2", nullptr);
    child.setProperty ("value", 5.0, nullptr);
    tree.appendChild (child, nullptr);
    juce::MemoryOutputStream stream;
    tree.writeToStream (stream);

    processor.setStateInformation (stream.getData(), (int) stream.getDataSize());
    EXPECT_FLOAT_EQ (getPlain (processor.apvts, "gain-3"), 10.0f);
    EXPECT_FLOAT_EQ (getPlain (processor.apvts, "gain-2"), 5.0f);
    EXPECT_EQ (processor.bands[2].gain, 10.0f);
}

TEST (ProcessorState, SavingReplacesWhatTheBlockHeld)
{
    MultiAudioProcessor processor;
    const auto clean = saveState (processor);

    juce::MemoryBlock block;
    block.append ("leftover bytes that must go", 27);
    processor.getStateInformation (block);
    EXPECT_EQ (block, clean);
}

TEST (ProcessorState, RandomBytesNeverCrashAStateRestore)
{
    MultiAudioProcessor processor;
    const auto good = saveState (processor);
    juce::Random random (1234);

    for (int trial = 0; trial < 300; ++trial)
    {
        juce::MemoryBlock mutated (good);
        auto* bytes = static_cast<unsigned char*> (mutated.getData());
        for (int flips = 1 + random.nextInt (8); --flips >= 0;)
            bytes[random.nextInt ((int) mutated.getSize())] = (unsigned char) random.nextInt (256);
        processor.setStateInformation (mutated.getData(), random.nextInt ((int) mutated.getSize() + 1));
    }

    // Still a working processor with a consistent crossover count.
    EXPECT_LE (processor.crossoverCount, 5u);
    EXPECT_EQ (processor.getParameters().size(), 73);
}

TEST (ProcessorState, NonFiniteRestoredValuesTakeTheirDefaults)
{
    MultiAudioProcessor processor;
    for (auto* id : { "numCrossovers", "gain-2", "output", "mix-1", "frequency_crossover-2" })
        setPlain (processor.apvts, id, 2.0f);

    const auto inf = std::numeric_limits<double>::infinity();
    juce::ValueTree tree ("ZELK-MULTI");
    for (auto& [id, value] : std::vector<std::pair<const char*, juce::var>> {
             { "numCrossovers", std::nan ("") }, { "bypass", std::nan ("") }, { "gain-2", inf }, { "output", -inf },
             { "mix-1", 1.0e300 } /* no float */, { "frequency_crossover-2", "nan" } })
        tree.appendChild (juce::ValueTree ("PARAM", {}, {}).setProperty ("id", id, nullptr).setProperty ("value", value, nullptr), nullptr);
    juce::MemoryOutputStream stream;
    tree.writeToStream (stream);
    processor.setStateInformation (stream.getData(), (int) stream.getDataSize());
    testsupport::prepare (processor, 48000.0, 256);

    for (auto* parameter : processor.getParameters())
        EXPECT_EQ (parameter->getValue(), parameter->getDefaultValue()) << parameter->getName (50);
    EXPECT_EQ (processor.crossoverCount, 5u);
    EXPECT_TRUE (processor.crossovers[4].active);
    EXPECT_EQ (processor.bandProcessor.crossoverCount.load(), 5u);
}

TEST (ProcessorState, FreshEditedAndRestoredInstancesSoundTheSame)
{
    MultiAudioProcessor fresh, edited, restored;
    setPlain (edited.apvts, "numCrossovers", 4.0f); // writes the records back, the top low-pass too
    setPlain (edited.apvts, "numCrossovers", 5.0f);
    const auto block = saveState (fresh);
    restored.setStateInformation (block.getData(), (int) block.getSize());

    std::vector<std::vector<float>> outputs;
    for (auto* processor : { &fresh, &edited, &restored })
    {
        ASSERT_EQ (allValues (*processor), allValues (fresh));
        testsupport::prepare (*processor, 44100.0, 512);
        outputs.push_back (testsupport::render (*processor, testsupport::impulse (8192), 512));
    }
    EXPECT_EQ (outputs[1], outputs[0]);
    EXPECT_EQ (outputs[2], outputs[0]);
}
