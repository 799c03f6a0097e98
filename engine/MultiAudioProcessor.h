#pragma once

#include "Analyser.h"
#include "MultiBandProcessor.h"
#include "ParameterIDs.h"
#include "ParameterLayout.h"
#include "PublishedValue.h"
#include "Records.h"
#include "presets/ABStateHolder.h"
#include "presets/PresetsHolder.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <atomic>
#include <vector>

/** The plug-in's processor: one per plug-in instance. It owns the parameter
    store, the band and crossover records, the band engine, the output gain, the
    two spectrum analysers and the presets and A/B stores.

    Parameter changes arrive on any thread through `parameterChanged`; they
    update the records under `recordsLock` (never held while calling into the
    parameter store) and publish the derived engine settings through atomics,
    which the audio thread takes up at the start of each block.
*/
class MultiAudioProcessor : public juce::AudioProcessor,
                            public juce::AudioProcessorValueTreeState::Listener
{
public:
    using MultiBandProcessor = ::MultiBandProcessor;

    MultiAudioProcessor();
    ~MultiAudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override                     { return "ZELK-MULTI"; }
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;

    /** The host's own bypass: the buffer passes untouched and the plots that
        are on show it, as under the plug-in's "bypass", and the next processed
        block starts the engine afresh. */
    void processBlockBypassed (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    double getTailLengthSeconds() const override                    { return 0.0; }
    bool acceptsMidi() const override                               { return false; }
    bool producesMidi() const override                              { return false; }
    bool isMidiEffect() const override                              { return false; }
    void reset() override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override                                 { return true; }
    int getNumPrograms() override                                   { return 1; }
    int getCurrentProgram() override                                { return 0; }
    void setCurrentProgram (int) override                           {}
    const juce::String getProgramName (int) override                { return {}; }
    void changeProgramName (int, const juce::String&) override      {}
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    bool isBusesLayoutSupported (const BusesLayout&) const override;

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    //==============================================================================
    /** Renumbers the active crossover records, routes their frequencies into the
        crossover tree and copies the band records' enabled flags to the engine. */
    void updateCrossoverFilters();

    /** Copies every record into its parameters (host and listeners hear of it). */
    void writeRecordsToParameters();

    /** Adds a crossover at `index` (at `proportion` of the crossover scale) or
        removes the one at `index`. Message thread. Calls that break the
        preconditions (no room, index out of range) change nothing. */
    void setCrossoverActive (int index, bool add, float proportion);

    /** A consistent copy of the records and the crossover count, for readers
        outside the parameter-change path (the window). */
    struct RecordsSnapshot
    {
        std::vector<CrossoverRecord> crossovers;
        std::vector<BandRecord> bands;
        size_t crossoverCount = 0;
    };

    /** Copies the records under `recordsLock`. Never call it on the audio thread. */
    RecordsSnapshot readRecords() const;

    /** Builds the input or output analyser's spectrum into `p` for `bounds`. */
    void createAnalyserPlot (juce::Path& p, juce::Rectangle<int> bounds, bool input);

    //==============================================================================
    std::atomic<float>* bypassValue = nullptr;
    ABStateHolder abStateHolder { *this };
    PresetsHolder presetsHolder { *this, getName() + "/presets.xml" };
    juce::UndoManager undoManager;
    juce::AudioProcessorValueTreeState apvts;

    /** Guards the records below against parameter changes made on several
        threads at once. Never taken by the audio thread. */
    mutable juce::CriticalSection recordsLock;
    std::vector<CrossoverRecord> crossovers;
    std::vector<BandRecord> bands;
    size_t crossoverCount = 5;

    MultiBandProcessor bandProcessor;
    juce::dsp::Gain<float> outputGain;
    double sampleRate = 0.0;
    Analyser<float> inputAnalyser;
    Analyser<float> outputAnalyser;
    std::atomic<float>* inputPlotValue = nullptr;
    std::atomic<float>* outputPlotValue = nullptr;

private:
    void handleCrossoverCountChange (float value);
    void handleBandParameter (int band, const juce::String& parameterID, float value);
    void publishBand (int band);
    void setParameterValue (const juce::String& parameterID, float plainValue);
    void processChunk (juce::AudioBuffer<float>& buffer, int numChannels);

    /** A block under either bypass (the plug-in's or the host's): it passes
        as it is, each plot that is on is fed with it, and the engine is
        marked to start afresh. Audio thread. */
    void passBypassed (const juce::AudioBuffer<float>& buffer);
    void publishCrossoverCount();

    /** Serialises changes of the crossover layout (count changes, adding and
        removing crossovers) together with their write-back into the
        parameters, so that one change's write-back never carries records that
        another change has moved since; without it two such changes on two
        threads copy one band's settings over another's. Taken before
        `recordsLock`, held while calling into the parameter store (which is
        safe: the write-back never sets "numCrossovers", the one parameter
        whose listener waits for this lock), never taken by the audio thread. */
    juce::CriticalSection layoutLock;

    PublishedValue outputGainTarget { 1.0f };
    int preparedBlockSize = 0;
    bool bypassed = false;              // audio thread: the last block was bypassed

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MultiAudioProcessor)
};

/** Creates the plug-in's processor; the caller owns it. */
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();
