#pragma once

#include "engine/ParameterIDs.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <vector>

/** The factory presets as plain settings, and the code that turns them into the
    presets.xml document embedded in the plug-in.

    Settings are written in the units a user sees (decibels, hertz, percent,
    choice names); `makeFactoryPresets` normalises them through the parameters of
    a processor built from the real parameter layout, so the stored texts are
    exactly what capturing those settings from the plug-in would write.
*/
namespace FactoryPresetTable
{
    enum Saturation { none, softClip, hardClip, tube, tape, halfRectify, fullRectify,
                      chebyshev2, chebyshev4, chebyshev6, chebyshev8 };

    enum Oversampling { x2, x4, x8, x16 };

    struct Band
    {
        Saturation type;
        float mixPercent;
        float levelDecibels;     // the band's level ("compgain"), -24..+24 dB
        float driveDecibels;     // the drive into the curve ("gain"), up to about +34 dB
        float lowpassHz = 20000.0f;
        float highpassHz = 20.0f;
        Oversampling oversampling = x2;
        bool processing = true;
    };

    /** A band that passes its signal untouched; also used for the bands a preset
        does not switch on, so that adding a crossover later starts out neutral. */
    inline const Band clean { none, 100.0f, 0.0f, 0.0f };

    struct Preset
    {
        const char* name;
        float outputDecibels;
        int crossoverCount;                  // 0..5; bands in use = crossoverCount + 1
        std::array<float, 5> crossoversHz;   // ascending; those beyond the count wait unused
        std::vector<Band> bands;             // the bands in use, lowest first; the rest are clean
    };

    /** Entries "preset2" to "preset23"; "preset1" is the reset entry "Load preset...". */
    inline const std::vector<Preset>& presets()
    {
        // Level rule of thumb: a curve's small-signal gain is the drive less about
        // 13 dB (the 0.7 scaling and the make-up attenuation), so about 13 dB of drive
        // keeps a band's level; light colour uses ~12 dB at low mixes, heavy
        // distortion 24..30 dB with the level trimmed down. "Chebyshev 4" keeps the
        // signal's polarity (unlike "Chebyshev 2"), so it blends with the dry band.
        // The output gains were set by ear-free measurement: pink noise at -24 dBFS
        // RMS keeps its level within about 1 dB (2 dB for the heavy guitar and bass
        // presets), louder input coming out compressed.
        static const std::vector<Preset> table {
            // Lows left clean, the mids thickened for definition, a touch of tape above.
            { "Bass - Clarity", 0.0f, 2, { 150, 1200, 5000, 8000, 12000 },
              { clean,
                { tube, 50, 1.0f, 14.0f, 20000, 20, x4 },
                { tape, 35, 1.0f, 12.0f, 12000, 20, x2 } } },

            { "Bass - Fuzz", -2.0f, 2, { 100, 700, 3000, 6000, 10000 },
              { clean,
                { hardClip, 80, -3.0f, 28.0f, 20000, 20, x8 },
                { fullRectify, 45, -4.0f, 24.0f, 6000, 20, x8 } } },

            { "Bass - Growl", -1.5f, 3, { 90, 450, 2000, 6000, 10000 },
              { clean,
                { tube, 65, 0.0f, 20.0f, 20000, 20, x4 },
                { softClip, 75, -2.0f, 24.0f, 20000, 20, x4 },
                { tape, 40, 1.0f, 14.0f, 8000, 20, x2 } } },

            // Light drive throughout, a little more excitement on top.
            { "Dums - Lift", 0.0f, 2, { 200, 6000, 8000, 10000, 14000 },
              { { tube, 25, 1.0f, 12.0f },
                { tape, 30, 1.0f, 12.0f },
                { softClip, 45, 2.0f, 16.0f, 20000, 20, x4 } } },

            { "Drums - Presence", 0.0f, 3, { 150, 2000, 8000, 10000, 14000 },
              { clean,
                { tube, 25, 1.0f, 12.0f },
                { tape, 55, 1.5f, 16.0f, 20000, 20, x4 },
                { softClip, 35, 1.0f, 12.0f } } },

            // Saturated kick and body, clean cymbals.
            { "Drums - Punch", 0.0f, 2, { 120, 1500, 5000, 8000, 12000 },
              { { tube, 60, 0.0f, 20.0f, 20000, 30, x4 },
                { softClip, 50, 0.0f, 18.0f },
                clean } },

            { "Drums - Sizzle", 0.0f, 2, { 250, 5000, 8000, 11000, 14000 },
              { clean,
                { tape, 25, 1.0f, 12.0f },
                { chebyshev4, 40, 0.0f, 6.0f, 18000, 20, x8 } } },

            { "Guitar - Crush", -3.0f, 3, { 200, 1200, 5000, 8000, 12000 },
              { { softClip, 40, 0.0f, 16.0f, 20000, 60, x2 },
                { hardClip, 90, -4.0f, 30.0f, 20000, 20, x8 },
                { hardClip, 80, -4.0f, 28.0f, 20000, 20, x8 },
                { tape, 50, 0.0f, 16.0f, 9000, 20, x2 } } },

            { "Guitar - Metal", -3.0f, 3, { 150, 900, 3500, 8000, 12000 },
              { { tube, 40, 0.0f, 16.0f, 20000, 70, x2 },
                { hardClip, 85, -4.0f, 30.0f, 20000, 20, x8 },
                { softClip, 80, -3.0f, 28.0f, 20000, 20, x8 },
                { softClip, 50, 0.0f, 18.0f, 7500, 20, x4 } } },

            { "Guitar - Presence", 0.0f, 2, { 400, 3000, 6000, 9000, 13000 },
              { clean,
                { tube, 30, 1.0f, 12.0f },
                { tape, 55, 1.5f, 16.0f, 14000, 20, x4 } } },

            { "Guitar - Slide", -0.5f, 2, { 300, 2500, 6000, 9000, 13000 },
              { { tube, 30, 1.0f, 12.0f },
                { tape, 65, 0.0f, 20.0f, 20000, 20, x4 },
                { softClip, 40, 1.0f, 14.0f, 10000, 20, x2 } } },

            // Driven lows and mids; the top runs fully through a gentle tube stage
            // whose low-pass rolls it off.
            { "Guitar - Warm", 1.5f, 2, { 250, 2000, 6000, 9000, 13000 },
              { { tube, 55, 0.0f, 18.0f },
                { tube, 45, 0.5f, 16.0f },
                { tube, 100, -2.0f, 13.0f, 8000, 20, x2 } } },

            { "Guitar - Overdrive", 0.0f, 2, { 180, 2200, 6000, 9000, 13000 },
              { { softClip, 40, 0.0f, 14.0f, 20000, 80, x2 },
                { tube, 85, -3.0f, 26.0f, 20000, 20, x4 },
                { softClip, 60, -2.0f, 22.0f, 8000, 20, x4 } } },

            { "Vocal - Lift", 0.0f, 2, { 300, 5000, 8000, 11000, 14000 },
              { clean,
                { tube, 25, 1.0f, 12.0f },
                { tape, 45, 1.5f, 16.0f, 20000, 20, x4 } } },

            { "Vocal - Presence", 0.0f, 3, { 250, 2000, 7000, 10000, 14000 },
              { clean,
                { tube, 25, 1.0f, 12.0f },
                { tube, 50, 1.0f, 16.0f, 20000, 20, x4 },
                { softClip, 30, 1.0f, 12.0f } } },

            { "Vocal -Overdrive", -0.5f, 2, { 200, 3000, 6000, 9000, 13000 },
              { clean,
                { tube, 75, -3.0f, 24.0f, 20000, 20, x4 },
                { softClip, 55, -2.0f, 20.0f, 10000, 20, x4 } } },

            // Only the air band is excited.
            { "Vocal - Sizzle", 0.0f, 1, { 6000, 8000, 10000, 12000, 15000 },
              { clean,
                { chebyshev4, 35, 0.0f, 6.0f, 20000, 20, x8 } } },

            { "Vocal - Subtle", 0.0f, 2, { 250, 4000, 7000, 10000, 14000 },
              { clean,
                { tube, 20, 0.5f, 12.0f },
                { tape, 20, 0.5f, 12.0f } } },

            // Mastering: moderate drive at low mixes colours the whole mix without
            // audible distortion; oversampling keeps the top clean of aliasing.
            { "Mastering - Garage", 0.5f, 3, { 120, 1000, 6000, 9000, 13000 },
              { { tube, 35, 0.0f, 16.0f, 20000, 20, x4 },
                { tape, 40, 0.0f, 16.0f, 20000, 20, x4 },
                { softClip, 35, 0.0f, 16.0f, 20000, 20, x4 },
                { tape, 25, 0.5f, 12.0f, 20000, 20, x4 } } },

            { "Mastering - Emphasis", 0.5f, 4, { 100, 500, 2500, 8000, 12000 },
              { { tube, 20, 0.5f, 12.0f, 20000, 20, x4 },
                clean,
                { tube, 25, 1.0f, 13.0f, 20000, 20, x4 },
                { tape, 25, 1.0f, 13.0f, 20000, 20, x4 },
                { chebyshev4, 15, 0.0f, 6.0f, 20000, 20, x8 } } },

            { "Mastering - Shimmer", 0.0f, 2, { 200, 9000, 11000, 13000, 16000 },
              { clean,
                clean,
                { chebyshev4, 25, 0.0f, 6.0f, 20000, 20, x8 } } },

            { "Mastering - Velvet", 1.0f, 3, { 150, 1500, 7000, 10000, 14000 },
              { { tube, 20, 0.5f, 12.0f, 20000, 20, x4 },
                { tape, 20, 0.5f, 12.0f, 20000, 20, x4 },
                { tape, 15, 0.5f, 12.0f, 20000, 20, x4 },
                { tube, 100, -1.0f, 13.0f, 16000, 20, x4 } } },
        };

        return table;
    }

    inline float decibelsToGain (float decibels)
    {
        return std::pow (10.0f, decibels / 20.0f);
    }

    /** Sets one parameter of `processor` from a plain value and stores its
        normalised value in `entry`, as capturing it would. */
    inline void storePlain (juce::AudioProcessor& processor, juce::XmlElement& entry,
                            const juce::String& id, float plainValue)
    {
        for (auto* parameter : processor.getParameters())
        {
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter); ranged != nullptr && ranged->paramID == id)
            {
                ranged->setValue (ranged->convertTo0to1 (plainValue));
                entry.setAttribute (juce::Identifier (id), (double) ranged->getValue());
                return;
            }
        }

        jassertfalse; // the table names a parameter that the layout lacks
    }

    inline void storeBand (juce::AudioProcessor& processor, juce::XmlElement& entry, std::size_t index, const Band& band)
    {
        storePlain (processor, entry, ParameterIDs::type (index), (float) band.type);
        storePlain (processor, entry, ParameterIDs::mix (index), band.mixPercent);
        storePlain (processor, entry, ParameterIDs::compgain (index), decibelsToGain (band.levelDecibels));
        storePlain (processor, entry, ParameterIDs::gain (index), decibelsToGain (band.driveDecibels));
        storePlain (processor, entry, ParameterIDs::active (index), band.processing ? 1.0f : 0.0f);
        storePlain (processor, entry, ParameterIDs::solo (index), 0.0f);
        storePlain (processor, entry, ParameterIDs::frequencyLowpass (index), band.lowpassHz);
        storePlain (processor, entry, ParameterIDs::frequencyHighpass (index), band.highpassHz);
        storePlain (processor, entry, ParameterIDs::oversampling (index), (float) band.oversampling);
    }

    /** The whole presets document. `processor` must carry the plug-in's parameter
        layout; its parameter values are changed on the way. */
    inline juce::XmlElement makeFactoryPresets (juce::AudioProcessor& processor)
    {
        juce::XmlElement document ("PRESETS");

        auto* reset = document.createNewChildElement ("preset1");
        reset->setAttribute ("bypass", 0.0);
        reset->setAttribute ("presetName", "Load preset...");

        for (const auto& preset : presets())
        {
            auto* entry = document.createNewChildElement ("preset" + juce::String (document.getNumChildElements() + 1));

            storePlain (processor, *entry, ParameterIDs::output, preset.outputDecibels);
            storePlain (processor, *entry, ParameterIDs::outputPlot, 0.0f);
            storePlain (processor, *entry, ParameterIDs::inputPlot, 0.0f);
            storePlain (processor, *entry, "numCrossovers", (float) preset.crossoverCount);
            storePlain (processor, *entry, "bypass", 0.0f);

            for (std::size_t index = 0; index < 6; ++index)
                storeBand (processor, *entry, index, index < preset.bands.size() ? preset.bands[index] : clean);

            for (std::size_t index = 0; index < 5; ++index)
                storePlain (processor, *entry, ParameterIDs::frequencyCrossover (index), preset.crossoversHz[index]);

            entry->setAttribute ("presetName", preset.name);
        }

        return document;
    }

    /** The document as presets.xml holds it: declaration, empty line, CR LF ends. */
    inline juce::String toFileText (const juce::XmlElement& document)
    {
        juce::MemoryOutputStream stream;
        document.writeTo (stream, juce::XmlElement::TextFormat());
        return stream.toUTF8();
    }
}
