#include "MultiAudioProcessor.h"

#include "SampleChecks.h"
#include "ValueTreeDataCheck.h"
#include "editor/MultiAudioEditor.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
    const juce::String numCrossoversID { "numCrossovers" };

    constexpr double outputRampSeconds = 0.05;

    // Which crossover filters take the frequency of the crossover with order k,
    // for each crossover count (see the routing in MultiBandProcessor.cpp).
    struct FilterSet { int count; int filters[4]; };

    constexpr FilterSet crossoverFilterTable[6][5] =
    {
        { },
        { { 2, { 4, 5 } } },
        { { 2, { 4, 5 } }, { 3, { 2, 3, 6 } } },
        { { 3, { 0, 1, 6 } }, { 2, { 4, 5 } }, { 3, { 2, 3, 7 } } },
        { { 4, { 8, 9, 12, 14 } }, { 3, { 0, 1, 6 } }, { 2, { 4, 5 } }, { 3, { 2, 3, 7 } } },
        { { 4, { 8, 9, 12, 14 } }, { 3, { 0, 1, 6 } }, { 4, { 10, 11, 13, 15 } }, { 2, { 4, 5 } }, { 3, { 2, 3, 7 } } },
    };

    size_t crossoverCountFromValue (float value) noexcept
    {
        if (! (value > 0.0f))
            return 0;
        return (size_t) std::min (5.0f, std::trunc (value));
    }

    float gainFromDecibels (float decibels) noexcept
    {
        return juce::Decibels::decibelsToGain (decibels, -100.0f);
    }

    bool hasValidNames (const juce::ValueTree& tree)
    {
        if (! juce::Identifier::isValidIdentifier (tree.getType().toString()))
            return false;
        for (int i = 0; i < tree.getNumProperties(); ++i)
            if (! juce::Identifier::isValidIdentifier (tree.getPropertyName (i).toString()))
                return false;
        for (const auto& child : tree)
            if (! hasValidNames (child))
                return false;
        return true;
    }

    /** Reads a state blob, accepting it only when it is a whole value tree.
        JUCE's reader trusts every count in the data (a damaged one makes it
        loop for billions of steps, reserve gigabytes or recurse without end)
        and hands back what it got from a cut-off blob, whose missing
        parameters would fall back to their defaults: the bytes are checked
        first. Node and property names must be identifiers, which also turns
        away text and other foreign data. */
    juce::ValueTree readWholeValueTree (const void* data, int sizeInBytes)
    {
        if (data == nullptr || sizeInBytes <= 0
             || ! valuetreedata::isCompleteValueTreeData (data, (size_t) sizeInBytes))
            return {};

        auto tree = juce::ValueTree::readFromData (data, (size_t) sizeInBytes);
        if (! tree.isValid() || ! hasValidNames (tree))
            return {};

        return tree;
    }

    /** A restored value that is not a finite float (NaN, infinity, or a double
        too large for a float) is treated as missing, so that its parameter
        takes its default: nothing non-finite reaches the parameter store. */
    void dropNonFiniteValues (juce::ValueTree& tree)
    {
        static const juce::Identifier value ("value");

        for (auto child : tree)
            if (child.hasProperty (value) && ! std::isfinite ((float) (double) child[value]))
                child.removeProperty (value, nullptr);
    }

    /** The band low-pass cut-off for a "frequency_lowpass" value. The top of the
        parameter's range opens the filter fully, as a band record starts out
        (above the range), so the cut-off depends on the value alone and not on
        whether the records were ever written back into the parameters. */
    float lowPassCutoffFor (float value) noexcept
    {
        constexpr float rangeEnd = 20000.0f, fullyOpen = 22000.0f;
        return value >= rangeEnd ? fullyOpen : value;
    }

    void stopAnalyser (Analyser<float>& analyser)
    {
        if (analyser.isThreadRunning())
            analyser.stopAnalysing();
    }
}

//==============================================================================
MultiAudioProcessor::MultiAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                              .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                              .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      apvts (*this, &undoManager, "PARAMS", createParameterLayout())
{
    bypassValue = apvts.getRawParameterValue (ParameterIDs::bypass);
    inputPlotValue = apvts.getRawParameterValue (ParameterIDs::inputPlot);
    outputPlotValue = apvts.getRawParameterValue (ParameterIDs::outputPlot);

    outputGain.setRampDurationSeconds (outputRampSeconds);

    bands = makeDefaultBands();
    for (size_t b = 0; b < bands.size(); ++b)
        for (auto* makeID : { ParameterIDs::type, ParameterIDs::mix, ParameterIDs::compgain, ParameterIDs::gain,
                              ParameterIDs::active, ParameterIDs::realActive, ParameterIDs::solo,
                              ParameterIDs::frequencyLowpass, ParameterIDs::frequencyHighpass, ParameterIDs::oversampling })
            apvts.addParameterListener (makeID (b), this);

    crossovers = makeDefaultCrossovers();
    for (size_t i = 0; i < crossovers.size(); ++i)
        apvts.addParameterListener (ParameterIDs::frequencyCrossover (i), this);

    for (auto& id : { ParameterIDs::output, ParameterIDs::outputMix, ParameterIDs::bypass,
                      ParameterIDs::outputPlot, ParameterIDs::inputPlot, numCrossoversID })
        apvts.addParameterListener (id, this);

    apvts.state = juce::ValueTree ("ZELK-MULTI");
}

MultiAudioProcessor::~MultiAudioProcessor()
{
    stopAnalyser (inputAnalyser);
    stopAnalyser (outputAnalyser);
}

juce::AudioProcessorEditor* MultiAudioProcessor::createEditor()
{
    return new MultiAudioEditor (*this);
}

//==============================================================================
void MultiAudioProcessor::publishBand (int b)
{
    const auto& band = bands[(size_t) b];
    auto& engine = bandProcessor;
    const auto i = (size_t) b;

    engine.shaperIndex[i] = band.type - 1;
    engine.publishBandMix (b, juce::jlimit (0.0f, 1.0f, band.mix * 0.01f));
    engine.bandRealActive[i] = band.realActive;
    engine.publishLevelGain (b, band.realActive ? band.compGain : 0.0f);
    engine.publishInputGain (b, band.gain);
    engine.bandActive[i] = band.active;
    engine.bandSolo[i] = band.solo;
    engine.publishLowPass (b, lowPassCutoffFor (band.lowpass));
    engine.publishHighPass (b, band.highpass);
    engine.oversamplingIndex[i] = band.oversampling;
}

void MultiAudioProcessor::prepareToPlay (double newSampleRate, int maximumExpectedSamplesPerBlock)
{
    const auto maxBlock = std::max (1, maximumExpectedSamplesPerBlock);

    {
        const juce::ScopedLock layout (layoutLock);
        const juce::ScopedLock sl (recordsLock);
        crossoverCount = crossoverCountFromValue (apvts.getRawParameterValue (numCrossoversID)->load());
        sampleRate = newSampleRate;

        updateCrossoverFilters();

        if (newSampleRate > 0.0)
            for (int b = 0; b < MultiBandProcessor::maxBands; ++b)
                publishBand (b);

        bandProcessor.crossoverCount.store (crossoverCount, std::memory_order_release);
    }

    outputGainTarget.publish (gainFromDecibels (apvts.getRawParameterValue (ParameterIDs::output)->load()));
    bandProcessor.publishGlobalMix (juce::jlimit (0.0f, 1.0f, apvts.getRawParameterValue (ParameterIDs::outputMix)->load() * 0.01f));

    const auto numChannels = (juce::uint32) juce::jlimit (1, 2, std::max (getTotalNumInputChannels(), getTotalNumOutputChannels()));
    const juce::dsp::ProcessSpec spec { newSampleRate, (juce::uint32) maxBlock, numChannels };

    if (newSampleRate > 0.0)
    {
        bandProcessor.prepare (spec);

        float target = 0.0f;
        outputGainTarget.invalidate();
        outputGainTarget.takeChange (target);
        outputGain.setGainLinear (target);
        outputGain.prepare (spec);

        inputAnalyser.setupAnalyser ((int) newSampleRate, (float) newSampleRate);
        outputAnalyser.setupAnalyser ((int) newSampleRate, (float) newSampleRate);
        preparedBlockSize = maxBlock;
    }
}

void MultiAudioProcessor::releaseResources()
{
    stopAnalyser (inputAnalyser);
    stopAnalyser (outputAnalyser);
}

void MultiAudioProcessor::reset()
{
    bandProcessor.reset();
    outputGain.reset();
}

//==============================================================================
void MultiAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    if (bypassValue->load() >= 0.5f)    // a switch is on at 0.5 or more
    {
        passBypassed (buffer);
        return;
    }

    // Nothing to process with until the host has prepared us.
    if (preparedBlockSize <= 0)
        return;

    // After a bypass every filter still holds the audio from before it.
    if (std::exchange (bypassed, false))
        bandProcessor.restart();

    const auto numChannels = std::min ({ std::max (getTotalNumInputChannels(), getTotalNumOutputChannels()),
                                         buffer.getNumChannels(), 2 });
    if (numChannels <= 0)
        return;

    // Non-finite input would stick in every filter's state; it is silenced
    // before anything (the analysers included) sees it.
    for (int ch = 0; ch < numChannels; ++ch)
        SampleChecks::replaceNonFinite (buffer.getWritePointer (ch), buffer.getNumSamples());

    if (inputPlotValue->load() == 1.0f)
        inputAnalyser.addAudioData (buffer, getTotalNumInputChannels());

    // Hosts that exceed the announced block size get it in prepared-size pieces.
    for (int start = 0; start < buffer.getNumSamples(); start += preparedBlockSize)
    {
        const auto length = std::min (preparedBlockSize, buffer.getNumSamples() - start);
        juce::AudioBuffer<float> chunk (buffer.getArrayOfWritePointers(), numChannels, start, length);
        processChunk (chunk, numChannels);
    }

    if (outputPlotValue->load() == 1.0f)
        outputAnalyser.addAudioData (buffer, getTotalNumOutputChannels());
}

void MultiAudioProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    passBypassed (buffer);
}

void MultiAudioProcessor::passBypassed (const juce::AudioBuffer<float>& buffer)
{
    // No latency to keep up, so the buffer stays as it is; the engine's state
    // belongs to the audio from before the bypass.
    bypassed = true;

    // What passes is both input and output: each plot that is on shows it.
    if (preparedBlockSize > 0)
    {
        if (inputPlotValue->load() == 1.0f)
            inputAnalyser.addAudioData (buffer, getTotalNumInputChannels());
        if (outputPlotValue->load() == 1.0f)
            outputAnalyser.addAudioData (buffer, getTotalNumOutputChannels());
    }
}

void MultiAudioProcessor::processChunk (juce::AudioBuffer<float>& buffer, int numChannels)
{
    bandProcessor.process (buffer, numChannels);

    float target;
    if (outputGainTarget.takeChange (target))
        outputGain.setGainLinear (target);

    juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), (size_t) numChannels, (size_t) buffer.getNumSamples());
    outputGain.process (juce::dsp::ProcessContextReplacing<float> (block));
}

//==============================================================================
void MultiAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    // The store copies parameter values into its tree on a message-thread
    // timer. Hosts save from other threads too: copyState brings the tree up to
    // date and copies it under the store's own lock, so the save neither reads
    // the tree while the timer writes it nor misses the latest values.
    //
    // The store writes a value into a parameter's child only once the value has
    // changed; every parameter's value is written here, so that a state from a
    // fresh instance restores the same sound in a build with other defaults.
    auto state = apvts.copyState();
    for (auto child : state)
        if (auto* value = apvts.getRawParameterValue (child["id"].toString()))
            child.setProperty ("value", value->load(), nullptr);

    // Beside "preset", the name of its entry: a later start-up may give the
    // entry's ID to another entry.
    presetsHolder.addEntryNameTo (state);

    juce::MemoryOutputStream stream (destData, false);
    state.writeToStream (stream);
}

void MultiAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // replaceState swaps the tree under the store's lock, so a restore on a
    // host thread never races the timer's writes into the old tree. (It also
    // clears the undo history, which nothing in the plug-in uses.) The presets
    // holder takes the entry name stored beside "preset" to the window.
    auto tree = readWholeValueTree (data, sizeInBytes);
    if (tree.isValid())
    {
        dropNonFiniteValues (tree);
        presetsHolder.restoreState (apvts, tree);
    }
}

bool MultiAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto input = layouts.getMainInputChannelSet();
    const auto output = layouts.getMainOutputChannelSet();
    return input == output && output.size() <= 2;
}

void MultiAudioProcessor::createAnalyserPlot (juce::Path& p, juce::Rectangle<int> bounds, bool input)
{
    (input ? inputAnalyser : outputAnalyser).createPath (p, bounds);
}

//==============================================================================
void MultiAudioProcessor::updateCrossoverFilters()
{
    const juce::ScopedLock sl (recordsLock);

    int order = 0;
    for (auto& record : crossovers)
        record.index = record.active ? order++ : -1;

    if (crossoverCount >= 1 && crossoverCount <= 5)
    {
        for (const auto& record : crossovers)
        {
            if (record.index < 0 || (size_t) record.index >= crossoverCount)
                continue;

            const auto& set = crossoverFilterTable[crossoverCount][record.index];
            for (int f = 0; f < set.count; ++f)
                bandProcessor.publishCrossoverCutoff (set.filters[f], record.frequency);
            bandProcessor.publishDryAllPassCutoff (record.index, record.frequency);
        }
    }

    for (size_t b = 0; b < bands.size(); ++b)
        bandProcessor.bandEnabled[b] = bands[b].enabled;
}

void MultiAudioProcessor::setParameterValue (const juce::String& parameterID, float plainValue)
{
    if (auto* parameter = apvts.getParameter (parameterID))
    {
        const auto normalised = parameter->convertTo0to1 (plainValue);
        parameter->setValue (normalised);
        parameter->sendValueChangedMessageToListeners (normalised);
    }
}

void MultiAudioProcessor::writeRecordsToParameters()
{
    // Copies are taken under the lock, the parameters are set without it: the
    // parameter store calls back into parameterChanged, possibly while another
    // thread holds a parameter's listener lock and waits for ours.
    std::vector<CrossoverRecord> crossoverCopy;
    std::vector<BandRecord> bandCopy;
    {
        const juce::ScopedLock sl (recordsLock);
        crossoverCopy = crossovers;
        bandCopy = bands;
    }

    for (size_t i = 0; i < crossoverCopy.size(); ++i)
        setParameterValue (ParameterIDs::frequencyCrossover (i), crossoverCopy[i].frequency);

    for (size_t b = 0; b < bandCopy.size(); ++b)
    {
        const auto& band = bandCopy[b];
        setParameterValue (ParameterIDs::active (b), band.active ? 1.0f : 0.0f);
        setParameterValue (ParameterIDs::realActive (b), band.realActive ? 1.0f : 0.0f);
        setParameterValue (ParameterIDs::solo (b), band.solo ? 1.0f : 0.0f);
        setParameterValue (ParameterIDs::type (b), (float) band.type);
        setParameterValue (ParameterIDs::oversampling (b), (float) band.oversampling);
        setParameterValue (ParameterIDs::mix (b), band.mix);
        setParameterValue (ParameterIDs::compgain (b), band.compGain);
        setParameterValue (ParameterIDs::gain (b), band.gain);
        setParameterValue (ParameterIDs::frequencyLowpass (b), band.lowpass);
        setParameterValue (ParameterIDs::frequencyHighpass (b), band.highpass);
    }
}

void MultiAudioProcessor::publishCrossoverCount()
{
    // The count read under the lock is the one the filters and band flags were
    // last set for, whichever change got here first.
    const juce::ScopedLock sl (recordsLock);
    bandProcessor.crossoverCount.store (crossoverCount, std::memory_order_release);
}

MultiAudioProcessor::RecordsSnapshot MultiAudioProcessor::readRecords() const
{
    const juce::ScopedLock sl (recordsLock);
    return { crossovers, bands, crossoverCount };
}

void MultiAudioProcessor::setCrossoverActive (int index, bool add, float proportion)
{
    const juce::ScopedLock layout (layoutLock);
    {
        const juce::ScopedLock sl (recordsLock);

        if (add)
        {
            if (crossoverCount >= 5 || index < 0 || (size_t) index > crossoverCount)
                return;

            ++crossoverCount;
            crossovers[4].active = true;
            if (auto* parameter = apvts.getParameter (ParameterIDs::frequencyCrossover (4)))
                crossovers[4].frequency = parameter->convertFrom0to1 (proportion);
            bands[5].enabled = true;

            std::rotate (crossovers.begin() + index, crossovers.end() - 1, crossovers.end());
            std::rotate (bands.begin() + index + 1, bands.end() - 1, bands.end());
        }
        else
        {
            if (index < 0 || (size_t) index >= crossoverCount)
                return;

            --crossoverCount;
            crossovers[(size_t) index].active = false;
            bands[(size_t) index + 1].enabled = false;

            std::rotate (crossovers.begin() + index, crossovers.begin() + index + 1, crossovers.end());
            std::rotate (bands.begin() + index + 1, bands.begin() + index + 2, bands.end());
        }

        ++bandProcessor.layoutChanges;
        updateCrossoverFilters();
    }

    writeRecordsToParameters();
    publishCrossoverCount();
}

//==============================================================================
void MultiAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    // The store's range limits let NaN through; taken up, it would silence the
    // engine for good (a NaN gain or mix), so such a change is ignored.
    if (std::isnan (newValue))
        return;

    if (parameterID == numCrossoversID)
    {
        handleCrossoverCountChange (newValue);
        return;
    }

    if (parameterID.startsWith (ParameterIDs::frequencyCrossoverPrefix))
    {
        const auto i = getBandIndexFromParameterID (parameterID);
        const juce::ScopedLock sl (recordsLock);
        if (i >= 0 && (size_t) i < crossoverCount)
        {
            crossovers[(size_t) i].frequency = newValue;
            updateCrossoverFilters();
        }
        return;
    }

    const auto band = getBandIndexFromParameterID (parameterID);
    if (band >= 0 && band < MultiBandProcessor::maxBands)
    {
        handleBandParameter (band, parameterID, newValue);
        return;
    }

    if (parameterID == ParameterIDs::inputPlot || parameterID == ParameterIDs::outputPlot)
    {
        auto& analyser = parameterID == ParameterIDs::inputPlot ? inputAnalyser : outputAnalyser;
        if (newValue >= 0.5f)
            analyser.startAnalysing();
        else
            stopAnalyser (analyser);
    }
    else if (parameterID == ParameterIDs::output)
    {
        outputGainTarget.publish (gainFromDecibels (apvts.getRawParameterValue (ParameterIDs::output)->load()));
    }
    else if (parameterID == ParameterIDs::outputMix)
    {
        bandProcessor.publishGlobalMix (juce::jlimit (0.0f, 1.0f, apvts.getRawParameterValue (ParameterIDs::outputMix)->load() * 0.01f));
    }
}

void MultiAudioProcessor::handleBandParameter (int b, const juce::String& id, float v)
{
    const juce::ScopedLock sl (recordsLock);
    auto& band = bands[(size_t) b];
    auto& engine = bandProcessor;
    const auto i = (size_t) b;
    const bool on = v >= 0.5f;

    if (id == ParameterIDs::type (i))
    {
        band.type = (int) std::trunc (v);
        engine.shaperIndex[i] = band.type - 1;
    }
    else if (id == ParameterIDs::mix (i))
    {
        band.mix = v;
        engine.publishBandMix (b, juce::jlimit (0.0f, 1.0f, v * 0.01f));
    }
    else if (id == ParameterIDs::compgain (i))
    {
        band.compGain = v;
        if (band.realActive)
            engine.publishLevelGain (b, v);
    }
    else if (id == ParameterIDs::gain (i))
    {
        band.gain = v;
        engine.publishInputGain (b, v);
    }
    else if (id == ParameterIDs::active (i))
    {
        band.active = on;
        engine.bandActive[i] = on;
    }
    else if (id == ParameterIDs::realActive (i))
    {
        band.realActive = on;
        engine.bandRealActive[i] = on;
        engine.publishLevelGain (b, on ? band.compGain : 0.0f);
    }
    else if (id == ParameterIDs::solo (i))
    {
        band.solo = on;
        engine.bandSolo[i] = on;
    }
    else if (id == ParameterIDs::frequencyHighpass (i))
    {
        band.highpass = v;
        engine.publishHighPass (b, v);
    }
    else if (id == ParameterIDs::frequencyLowpass (i))
    {
        band.lowpass = v;
        engine.publishLowPass (b, lowPassCutoffFor (v));
    }
    else if (id == ParameterIDs::oversampling (i))
    {
        band.oversampling = (int) std::trunc (v);
        engine.oversamplingIndex[i] = band.oversampling;
    }
}

void MultiAudioProcessor::handleCrossoverCountChange (float v)
{
    const juce::ScopedLock layout (layoutLock);
    {
        const juce::ScopedLock sl (recordsLock);

        if ((float) crossoverCount == v || std::isnan (v))
            return;

        const auto n = crossoverCountFromValue (v);

        if (v < (float) crossoverCount)
        {
            for (size_t i = n; i < 5; ++i)
            {
                crossovers[i].active = false;
                bands[i + 1].enabled = false;
            }
        }
        else
        {
            for (size_t i = crossoverCount; i < n; ++i)
            {
                crossovers[i].active = true;
                bands[i + 1].enabled = true;
            }
        }

        if (n != crossoverCount)
            ++bandProcessor.layoutChanges;
        crossoverCount = n;
        updateCrossoverFilters();
    }

    writeRecordsToParameters();
    publishCrossoverCount();
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new MultiAudioProcessor();
}
