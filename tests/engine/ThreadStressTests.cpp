// Parameter changes from many threads while the audio thread processes:
// automation of every parameter, crossover count changes, crossover edits,
// plot switches, state restores and a window reading the records. Meant for
// the ThreadSanitizer build, where any unsynchronised hand-over is reported;
// in every build the records and the engine must come out consistent and the
// audio finite.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <thread>

using testsupport::getPlain;
using testsupport::setPlain;

namespace
{
    using Clock = std::chrono::steady_clock;

    constexpr auto stressDuration = std::chrono::milliseconds (1000);
    constexpr int blockSize = 256;

    /** Runs every task on its own thread, over and over, until the duration
        has passed; each task gets its own random generator. */
    class StressRun
    {
    public:
        using Task = std::function<void (std::mt19937&)>;

        void add (Task task) { tasks.push_back (std::move (task)); }

        /** Returns how many times each task ran. */
        std::vector<int> runFor (Clock::duration duration)
        {
            std::atomic<bool> stop { false };
            std::vector<std::thread> threads;
            std::vector<int> runs (tasks.size(), 0);

            for (size_t i = 0; i < tasks.size(); ++i)
            {
                threads.emplace_back ([this, i, &stop, &runs]
                {
                    std::mt19937 random ((unsigned) (1234 + 77 * i));
                    while (! stop.load())
                    {
                        tasks[i] (random);
                        ++runs[i];
                    }
                });
            }

            // The calling thread is the message thread: it runs the parameter
            // store's timer, which copies parameter values into the state tree.
            juce::MessageManager::getInstance()->runDispatchLoopUntil ((int) std::chrono::duration_cast<std::chrono::milliseconds> (duration).count());
            stop = true;
            for (auto& thread : threads)
                thread.join();
            return runs;
        }

    private:
        std::vector<Task> tasks;
    };

    float unit (std::mt19937& random)
    {
        return std::uniform_real_distribution<float> (0.0f, 1.0f) (random);
    }

    int between (std::mt19937& random, int low, int high)
    {
        return std::uniform_int_distribution<int> (low, high) (random);
    }

    /** What the window does to add or remove a crossover: it reads the count,
        edits the layout, then sets "numCrossovers" to the new count. */
    void editCrossoversAsTheWindowDoes (MultiAudioProcessor& processor, std::mt19937& random)
    {
        size_t count;
        {
            const juce::ScopedLock sl (processor.recordsLock);
            count = processor.crossoverCount;
        }

        const bool add = count == 0 || (count < 5 && between (random, 0, 1) == 0);
        if (add)
            processor.setCrossoverActive (between (random, 0, (int) count), true, unit (random));
        else
            processor.setCrossoverActive (between (random, 0, (int) count - 1), false, 0.0f);

        size_t newCount;
        {
            const juce::ScopedLock sl (processor.recordsLock);
            newCount = processor.crossoverCount;
        }
        setPlain (processor.apvts, "numCrossovers", (float) newCount);
    }

    juce::MemoryBlock savedState (MultiAudioProcessor& processor)
    {
        juce::MemoryBlock block;
        processor.apvts.copyState();    // lets the store flush its values into its tree
        processor.getStateInformation (block);
        return block;
    }

    /** Three different states to restore: the defaults, two crossovers with
        busy bands, and no crossover with the plots on. */
    std::vector<juce::MemoryBlock> makeStates()
    {
        std::vector<juce::MemoryBlock> states;
        {
            MultiAudioProcessor source;
            states.push_back (savedState (source));
        }
        {
            MultiAudioProcessor source;
            setPlain (source.apvts, "numCrossovers", 2.0f);
            setPlain (source.apvts, "type-2", 10.0f);
            setPlain (source.apvts, "oversampling-2", 3.0f);
            setPlain (source.apvts, "solo-3", 1.0f);
            setPlain (source.apvts, "frequency_crossover-1", 400.0f);
            setPlain (source.apvts, "output_mix", 30.0f);
            states.push_back (savedState (source));
        }
        {
            MultiAudioProcessor source;
            setPlain (source.apvts, "numCrossovers", 0.0f);
            setPlain (source.apvts, "real_active-1", 0.0f);
            setPlain (source.apvts, "input_plot", 1.0f);
            setPlain (source.apvts, "output_plot", 1.0f);
            setPlain (source.apvts, "output", -20.0f);
            states.push_back (savedState (source));
            setPlain (source.apvts, "input_plot", 0.0f);
            setPlain (source.apvts, "output_plot", 0.0f);
        }
        return states;
    }

    /** Processes one block of noise; returns false when the output is not finite. */
    bool processNoiseBlock (MultiAudioProcessor& processor, juce::AudioBuffer<float>& buffer, juce::Random& random)
    {
        juce::MidiBuffer midi;
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, random.nextFloat() - 0.5f);

        processor.processBlock (buffer, midi);

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (! std::isfinite (buffer.getSample (ch, i)))
                    return false;
        return true;
    }

    /** Once the threads have stopped: the layout invariants, the engine's
        copies, and every band parameter holding the record at its position. */
    void expectSettledAndConsistent (MultiAudioProcessor& processor)
    {
        const juce::ScopedLock sl (processor.recordsLock);
        const auto count = processor.crossoverCount;
        auto& engine = processor.bandProcessor;

        ASSERT_LE (count, 5u);
        EXPECT_EQ (engine.crossoverCount.load(), count);

        for (size_t i = 0; i < 5; ++i)
        {
            EXPECT_EQ (processor.crossovers[i].active, i < count) << "crossover " << i;
            EXPECT_EQ (processor.crossovers[i].index, i < count ? (int) i : -1) << "crossover " << i;
        }

        for (size_t b = 0; b < 6; ++b)
        {
            const auto& band = processor.bands[b];
            EXPECT_EQ (band.enabled, b <= count) << "band " << b;
            EXPECT_EQ (engine.bandEnabled[b].load(), band.enabled) << "band " << b;
            EXPECT_EQ (engine.shaperIndex[b].load(), band.type - 1) << "band " << b;
            EXPECT_EQ (engine.bandRealActive[b].load(), band.realActive) << "band " << b;
            EXPECT_EQ (getPlain (processor.apvts, ParameterIDs::type (b)), (float) band.type) << "band " << b;
            EXPECT_EQ (getPlain (processor.apvts, ParameterIDs::mix (b)), band.mix) << "band " << b;
            EXPECT_EQ (getPlain (processor.apvts, ParameterIDs::gain (b)), band.gain) << "band " << b;
        }
    }
}

TEST (ThreadStress, EverythingAtOnceWhileTheAudioThreadPlays)
{
    const auto states = makeStates();

    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, blockSize);
    const auto parameters = processor.getParameters();

    std::atomic<int> nonFiniteBlocks { 0 };
    StressRun run;

    juce::AudioBuffer<float> audioBuffer (2, blockSize);
    juce::Random audioRandom (3);
    run.add ([&] (std::mt19937&)
    {
        if (! processNoiseBlock (processor, audioBuffer, audioRandom))
            ++nonFiniteBlocks;
    });

    for (int automation = 0; automation < 2; ++automation)
        run.add ([&] (std::mt19937& random)
        {
            auto* parameter = parameters[between (random, 0, parameters.size() - 1)];
            parameter->setValueNotifyingHost (unit (random));
        });

    run.add ([&] (std::mt19937& random) { setPlain (processor.apvts, "numCrossovers", (float) between (random, 0, 600) * 0.01f); });
    run.add ([&] (std::mt19937& random) { editCrossoversAsTheWindowDoes (processor, random); });

    run.add ([&] (std::mt19937& random)
    {
        setPlain (processor.apvts, between (random, 0, 1) == 0 ? "input_plot" : "output_plot", (float) between (random, 0, 1));
    });

    run.add ([&] (std::mt19937& random)
    {
        const auto& state = states[(size_t) between (random, 0, (int) states.size() - 1)];
        processor.setStateInformation (state.getData(), (int) state.getSize());
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    });

    // The host saves the project now and then.
    run.add ([&] (std::mt19937&)
    {
        juce::MemoryBlock block;
        processor.getStateInformation (block);
        EXPECT_TRUE (juce::ValueTree::readFromData (block.getData(), block.getSize()).isValid());
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    });

    // The window: reads the records under their lock and draws the spectra.
    run.add ([&] (std::mt19937& random)
    {
        {
            const juce::ScopedLock sl (processor.recordsLock);
            float sum = 0.0f;
            for (const auto& crossover : processor.crossovers)
                sum += crossover.active ? crossover.frequency : 0.0f;
            for (const auto& band : processor.bands)
                sum += band.enabled ? band.gain : 0.0f;
            EXPECT_TRUE (std::isfinite (sum));
        }
        juce::Path path;
        processor.createAnalyserPlot (path, { 0, 0, 400, 200 }, between (random, 0, 1) == 0);
        processor.inputAnalyser.newDataAvailable.exchange (false);
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    });

    for (auto runs : run.runFor (stressDuration))
        EXPECT_GT (runs, 0);

    EXPECT_EQ (nonFiniteBlocks.load(), 0);
    expectSettledAndConsistent (processor);

    // Quiet again: a known setting comes through and the audio is alive.
    setPlain (processor.apvts, "bypass", 0.0f);
    setPlain (processor.apvts, "output", 0.0f);
    setPlain (processor.apvts, "output_mix", 0.0f);
    juce::Random random (5);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE (processNoiseBlock (processor, audioBuffer, random));
    EXPECT_GT (audioBuffer.getMagnitude (0, blockSize), 0.01f);

    setPlain (processor.apvts, "input_plot", 0.0f);
    setPlain (processor.apvts, "output_plot", 0.0f);
    EXPECT_FALSE (processor.inputAnalyser.isThreadRunning());
    EXPECT_FALSE (processor.outputAnalyser.isThreadRunning());
}

TEST (ThreadStress, LayoutEditsFromTwoThreadsNeverCopyOneBandOverAnother)
{
    // Each band record carries its own mix; layout edits only move records,
    // so whatever the interleaving the six marks must all survive.
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, blockSize);
    for (size_t b = 0; b < 6; ++b)
        setPlain (processor.apvts, ParameterIDs::mix (b), 12.5f * (float) (b + 1));

    StressRun run;
    run.add ([&] (std::mt19937& random) { setPlain (processor.apvts, "numCrossovers", (float) between (random, 0, 5)); });
    run.add ([&] (std::mt19937& random) { editCrossoversAsTheWindowDoes (processor, random); });
    run.add ([&] (std::mt19937& random) { editCrossoversAsTheWindowDoes (processor, random); });
    for (auto runs : run.runFor (stressDuration / 2))
        EXPECT_GT (runs, 0);

    std::vector<float> mixes;
    for (const auto& band : processor.bands)
        mixes.push_back (band.mix);
    std::sort (mixes.begin(), mixes.end());
    EXPECT_EQ (mixes, (std::vector<float> { 12.5f, 25.0f, 37.5f, 50.0f, 62.5f, 75.0f }));
    expectSettledAndConsistent (processor);
}
