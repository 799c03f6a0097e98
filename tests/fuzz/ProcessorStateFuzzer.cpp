// The processor's state restore (setStateInformation) on one long-lived
// processor, as a host restores one instance over and over.
//
// Every input goes to setStateInformation as it is: the processor checks the
// bytes itself before JUCE's value-tree reader, which trusts the counts in
// them, sees them (the corpus keeps inputs that once made the reader loop two
// billion times or reserve gigabytes).
//
// After each input:
//  - every parameter is inside 0..1 and its plain value inside its range;
//  - the crossover count is 0..5 and agrees with "numCrossovers", and as
//    many crossovers are active;
//  - a block of audio comes out finite;
//  - the state saved now restores to itself: saving again gives the same
//    bytes (a restore loses nothing that a save wrote).
#include "FuzzSupport.h"

#include "engine/MultiAudioProcessor.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace
{
    using fuzzsupport::fail;
    using fuzzsupport::require;

    constexpr int blockSize = 128;

    struct ProcessorUnderTest
    {
        MultiAudioProcessor processor;
        juce::AudioBuffer<float> buffer { 2, blockSize };
        juce::MidiBuffer midi;

        ProcessorUnderTest() { processor.prepareToPlay (48000.0, blockSize); }
    };

    ProcessorUnderTest& processorUnderTest()
    {
        static auto* made = []
        {
            fuzzsupport::isolateUserFolders();
            fuzzsupport::initialiseJuce();
            return new ProcessorUnderTest();
        }();

        return *made;
    }

    void checkParameters (MultiAudioProcessor& processor)
    {
        for (auto* parameter : processor.getParameters())
        {
            require (fuzzsupport::isNormalised (parameter->getValue()), "a parameter left 0..1");

            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            {
                const auto& range = ranged->getNormalisableRange();
                const float raw = processor.apvts.getRawParameterValue (ranged->paramID)->load();
                require (raw >= range.start && raw <= range.end, "a parameter's plain value left its range");
            }
        }
    }

    void checkCrossovers (MultiAudioProcessor& processor)
    {
        const float requested = processor.apvts.getRawParameterValue ("numCrossovers")->load();
        const auto expected = static_cast<size_t> (std::min (5.0f, std::trunc (requested)));
        const juce::ScopedLock lock (processor.recordsLock);

        require (processor.crossoverCount <= 5, "the crossover count left 0..5");
        require (processor.bandProcessor.crossoverCount.load() <= 5, "the band engine's crossover count left 0..5");
        require (processor.crossoverCount == expected, "the crossover count disagrees with \"numCrossovers\"");

        size_t active = 0;
        for (const auto& record : processor.crossovers)
            active += record.active ? 1 : 0;

        require (active == processor.crossoverCount, "the active crossovers disagree with the crossover count");
    }

    void checkAudio (ProcessorUnderTest& test)
    {
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                test.buffer.setSample (channel, i, 0.5f * std::sin (0.05f * static_cast<float> (i + channel)));

        test.processor.processBlock (test.buffer, test.midi);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                require (std::isfinite (test.buffer.getSample (channel, i)), "the processor put out a non-finite sample");
    }

    juce::MemoryBlock save (MultiAudioProcessor& processor)
    {
        juce::MemoryBlock state;
        processor.getStateInformation (state);
        return state;
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    processorUnderTest();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;

    auto& test = processorUnderTest();
    auto& processor = test.processor;

    processor.setStateInformation (data, static_cast<int> (size));

    fuzzsupport::dispatchPendingMessages();

    checkParameters (processor);
    checkCrossovers (processor);
    checkAudio (test);

    const auto saved = save (processor);
    processor.setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));
    const auto savedAgain = save (processor);

    if (saved != savedAgain)
        fail ("restoring a saved state and saving again changed the state");

    return 0;
}
