// Paint time of the window's knobs with the software renderer, and of the work
// that the shared fonts and parsed images save on every paint: parsing both knob
// images (the body's includes decoding its PNG texture) and building the Roboto
// typeface from its data. Without that caching each knob paint would do all of
// it, so "RowOfFivePlusRemovedWork" is what a row repaint would cost uncached.

#include "editor/KnobSlider.h"
#include "resources/EmbeddedResources.h"

#include <benchmark/benchmark.h>

#include <array>

namespace
{
    constexpr int knobWidth = 186, knobHeight = 118;

    void setUp (KnobSlider& knob, int x)
    {
        knob.setRange (0.0, 100.0, 1.0);
        knob.setTextValueSuffix ("%");
        knob.setValue (42.0, juce::dontSendNotification);
        knob.lookAndFeel.knobScale = 1.0f;
        knob.lookAndFeel.pointerColour = juce::Colour (0xff731d19);
        knob.lookAndFeel.drawRangeLabels = true;
        knob.lookAndFeel.drawValueDots = true;
        knob.setBounds (x, 0, knobWidth, knobHeight);
    }

    struct KnobRow : juce::Component
    {
        KnobRow()
        {
            for (size_t i = 0; i < knobs.size(); ++i)
            {
                setUp (knobs[i], (int) i * knobWidth);
                addAndMakeVisible (knobs[i]);
            }
            setSize ((int) knobs.size() * knobWidth, knobHeight);
        }

        std::array<KnobSlider, 5> knobs;
    };

    void paint (juce::Component& component, juce::Image& image)
    {
        juce::Graphics g (image);
        component.paintEntireComponent (g, true);
    }

    juce::Image makeCanvas (const juce::Component& component)
    {
        return juce::Image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true, juce::SoftwareImageType());
    }

    /** What one uncached knob paint adds: both images parsed, the typeface built. */
    void doRemovedWork()
    {
        for (const auto* svg : { resources::knobPointerSvg, resources::knobBodySvg })
        {
            auto xml = juce::XmlDocument::parse (juce::String::fromUTF8 (svg));
            auto drawable = juce::Drawable::createFromSVG (*xml);
            benchmark::DoNotOptimize (drawable.get());
        }
        auto typeface = juce::Typeface::createSystemTypefaceFor (resources::robotoRegularTtf, (size_t) resources::robotoRegularTtfSize);
        benchmark::DoNotOptimize (typeface.get());
    }

    void BM_KnobPaint (benchmark::State& state)
    {
        KnobSlider knob;
        setUp (knob, 0);
        auto image = makeCanvas (knob);
        paint (knob, image); // first paint builds the shared fonts and images
        for (auto _ : state)
            paint (knob, image);
    }

    void BM_KnobRowOfFivePaint (benchmark::State& state)
    {
        KnobRow row;
        auto image = makeCanvas (row);
        paint (row, image);
        for (auto _ : state)
            paint (row, image);
    }

    void BM_KnobRemovedWork (benchmark::State& state)
    {
        for (auto _ : state)
            doRemovedWork();
    }

    void BM_KnobRowOfFivePlusRemovedWork (benchmark::State& state)
    {
        KnobRow row;
        auto image = makeCanvas (row);
        paint (row, image);
        for (auto _ : state)
        {
            for (size_t i = 0; i < row.knobs.size(); ++i)
                doRemovedWork();
            paint (row, image);
        }
    }
}

BENCHMARK (BM_KnobPaint)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_KnobRowOfFivePaint)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_KnobRemovedWork)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_KnobRowOfFivePlusRemovedWork)->Unit (benchmark::kMicrosecond);
