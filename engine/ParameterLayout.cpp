#include "ParameterLayout.h"

#include "Conversions.h"
#include "FiniteParameters.h"
#include "MetaAudioParameterBool.h"
#include "ParameterIDs.h"
#include "Records.h"

#include <cmath>
#include <memory>

namespace
{
    using Layout = juce::AudioProcessorValueTreeState::ParameterLayout;
    using Group = juce::AudioProcessorParameterGroup;
    using FloatAttributes = juce::AudioParameterFloatAttributes;
    using BoolAttributes = juce::AudioParameterBoolAttributes;

    const juce::String groupSeparator ("|");

    // Frequencies of the band filters: 1 Hz steps, 1 kHz at the middle.
    const juce::NormalisableRange<float> filterFrequencyRange { 20.0f, 20000.0f, 1.0f, 0.22990455f };

    using ToText = std::function<juce::String (float, int)>;
    using FromText = std::function<float (const juce::String&)>;

    /** A float parameter whose text-to-value function gives NaN for text
        that names no finite value ("abc", "nan", "1e39") or holds anything
        but the parameter's unit after the number ("1,5", "700abc"): the
        parameter refuses such text (FiniteAudioParameterFloat). `toText`
        may be null (JUCE's own text). */
    std::unique_ptr<FiniteAudioParameterFloat> makeFloat (const juce::String& id, const juce::String& name,
                                                          const juce::NormalisableRange<float>& range, float defaultValue,
                                                          ToText toText, FromText fromText,
                                                          const juce::String& label = {})
    {
        return std::make_unique<FiniteAudioParameterFloat> (
            id, name, range, defaultValue,
            FloatAttributes().withCategory (juce::AudioProcessorParameter::genericParameter)
                             .withLabel (label)
                             .withStringFromValueFunction (std::move (toText))
                             .withValueFromStringFunction (std::move (fromText)));
    }

    /** A switch that prints and reads exactly its on-text and off-text; other
        text is refused. */
    template <typename Switch>
    std::unique_ptr<Switch> makeSwitch (const juce::String& id, const juce::String& name, bool defaultValue,
                                        const juce::String& onText, const juce::String& offText)
    {
        return std::make_unique<Switch> (
            id, name, defaultValue,
            BoolAttributes().withStringFromValueFunction (Conversions::makeSwitchToText (onText, offText)),
            Conversions::makeSwitchFromText (onText, offText));
    }

    /** The band level from -24 dB to +24 dB, 0 dB at the middle of the normalised
        range, in 0.001 steps counted from the start. */
    juce::NormalisableRange<float> makeLevelRange (float maximumGain)
    {
        const auto start = 1.0f / maximumGain;
        const auto end = maximumGain;
        const auto skew = std::log (0.5f) / std::log ((1.0f - start) / (end - start));

        return { start, end, 0.001f, skew };
    }

    std::unique_ptr<Group> makeGlobalGroup()
    {
        const juce::String prefix ("Global: ");

        auto group = std::make_unique<Group> ("global", juce::translate ("Globals"), groupSeparator);

        group->addChild (makeFloat (
            ParameterIDs::output, prefix + juce::translate ("Gain"),
            juce::NormalisableRange<float> { -96.0f, 12.0f, 0.1f, 4.0f }, 0.0f,
            Conversions::twoDecimalText, Conversions::decibelsFromText,
            juce::translate ("Output level")));

        group->addChild (makeFloat (
            ParameterIDs::outputMix, prefix + juce::translate ("Mix"),
            juce::NormalisableRange<float> { 0.0f, 100.0f, 0.0f, 1.0f }, 100.0f,
            Conversions::twoDecimalText, Conversions::percentFromText));

        group->addChild (makeSwitch<FiniteAudioParameterBool> (
            ParameterIDs::outputPlot, prefix + juce::translate ("Display output response"), false,
            "displayed", "hidden"));

        group->addChild (makeSwitch<FiniteAudioParameterBool> (
            ParameterIDs::inputPlot, prefix + juce::translate ("Display input response"), false,
            "displayed", "hidden"));

        group->addChild (makeFloat (
            "numCrossovers", prefix + juce::translate ("Number of Crossovers"),
            juce::NormalisableRange<float> { 0.0f, 6.0f, 0.01f, 1.0f }, 5.0f,
            nullptr, Conversions::numberFromText));

        group->addChild (std::make_unique<FiniteAudioParameterBool> (
            "bypass", prefix + juce::translate ("BYPASS"), false));

        group->addChild (std::make_unique<FiniteAudioParameterInt> (
            "preset", prefix + juce::translate ("Preset"), 0, 1000, 0));

        group->addChild (std::make_unique<FiniteAudioParameterInt> (
            "selectedBand", prefix + juce::translate ("Selected Band"), 0, 6, 0));

        return group;
    }

    juce::StringArray translated (std::initializer_list<const char*> texts)
    {
        juce::StringArray result;
        for (auto* text : texts)
            result.add (juce::translate (text));
        return result;
    }

    std::unique_ptr<Group> makeBandGroup (std::size_t index, const BandRecord& band,
                                          const juce::NormalisableRange<float>& levelRange)
    {
        const auto prefix = "Band " + juce::String (index + 1) + ": ";

        auto group = std::make_unique<Group> ("band" + juce::String (index), band.name, groupSeparator);

        group->addChild (std::make_unique<FiniteAudioParameterChoice> (
            ParameterIDs::type (index), prefix + juce::translate ("Saturation Type"),
            translated ({ "None", "Soft Clip", "Hard clip", "Tube", "Tape", "Half Rectify", "Full Rectify",
                          "Chebyshev 2", "Chebyshev 4", "Chebyshev 6", "Chebyshev 8" }),
            band.type));

        group->addChild (makeFloat (
            ParameterIDs::mix (index), prefix + juce::translate ("Mix"),
            juce::NormalisableRange<float> { 0.0f, 100.0f, 0.0f, 1.0f }, band.mix,
            Conversions::percentText, Conversions::percentFromText));

        group->addChild (makeFloat (
            ParameterIDs::compgain (index), prefix + juce::translate ("Compensation Gain"),
            levelRange, band.compGain,
            Conversions::decibelTextWithUnit, Conversions::gainFromDecibelText));

        group->addChild (makeFloat (
            ParameterIDs::gain (index), prefix + juce::translate ("Gain"),
            juce::NormalisableRange<float> { 0.0f, 50.0f, 0.0f, 1.0f }, band.gain,
            Conversions::decibelTextWithoutUnit, Conversions::gainFromDecibelText));

        group->addChild (makeSwitch<FiniteAudioParameterBool> (
            ParameterIDs::active (index), prefix + juce::translate ("Bypass"), band.active,
            "processing", "bypassed"));

        group->addChild (makeSwitch<MetaAudioParameterBool> (
            ParameterIDs::realActive (index), prefix + juce::translate ("Active"), band.realActive,
            "active", "deactivated"));

        group->addChild (makeSwitch<FiniteAudioParameterBool> (
            ParameterIDs::solo (index), prefix + juce::translate ("Solo"), band.solo,
            "solo", "bypassed"));

        group->addChild (makeFloat (
            ParameterIDs::frequencyLowpass (index), prefix + juce::translate ("Low Pass Frequency"),
            filterFrequencyRange, band.lowpass,
            Conversions::frequencyText, Conversions::frequencyFromText));

        group->addChild (makeFloat (
            ParameterIDs::frequencyHighpass (index), prefix + juce::translate ("High Pass Frequency"),
            filterFrequencyRange, band.highpass,
            Conversions::frequencyText, Conversions::frequencyFromText));

        group->addChild (std::make_unique<FiniteAudioParameterChoice> (
            ParameterIDs::oversampling (index), prefix + juce::translate ("Oversampling"),
            translated ({ "X2", "X4", "X8", "X16" }),
            band.oversampling));

        return group;
    }

    std::unique_ptr<Group> makeCrossoverGroup (std::size_t index, const CrossoverRecord& crossover)
    {
        const auto prefix = "Crossover " + juce::String (index + 1) + ": ";

        auto group = std::make_unique<Group> ("crossover" + juce::String (index), crossover.name, groupSeparator);

        group->addChild (makeFloat (
            ParameterIDs::frequencyCrossover (index), prefix + juce::translate ("Frequency"),
            Conversions::makeLogarithmicRange<float> (20.0f, 20000.0f), crossover.frequency,
            Conversions::crossoverFrequencyText, Conversions::frequencyFromText));

        return group;
    }
}

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout()
{
    const auto maximumLevel = std::pow (10.0f, 1.2f);   // +24 dB, in single precision
    const auto bands = makeDefaultBands();

    Layout layout;
    layout.add (makeGlobalGroup());

    const auto levelRange = makeLevelRange (maximumLevel);

    for (std::size_t b = 0; b < bands.size(); ++b)
        layout.add (makeBandGroup (b, bands[b], levelRange));

    const auto crossovers = makeDefaultCrossovers();

    for (std::size_t k = 0; k < crossovers.size(); ++k)
        layout.add (makeCrossoverGroup (k, crossovers[k]));

    return layout;
}
