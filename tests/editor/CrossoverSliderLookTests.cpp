#include "editor/CrossoverSliderLook.h"

#include "tests/editor/LookTestSupport.h"

#include <gtest/gtest.h>

namespace
{
    bool isDrawn (juce::Colour c) { return ! c.isTransparent(); }

    struct LookedSlider
    {
        LookedSlider (juce::Slider::SliderStyle style, int width, int height, bool selected)
        {
            look.selected = selected;
            slider.setLookAndFeel (&look);
            slider.setSliderStyle (style);
            slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
            slider.setRange (20.0, 20000.0);
            slider.setSize (width, height);
        }

        ~LookedSlider() { slider.setLookAndFeel (nullptr); }

        CrossoverSliderLook look;
        juce::Slider slider;
    };
}

TEST (CrossoverSliderLook, LabelsHertzBelowOneThousandAndKilohertzWithOneDecimalFrom)
{
    const std::pair<double, const char*> cases[] = { { 999.5, "999.5 Hz" }, { 1000.0, "1.0 kHz" }, { 12340.0, "12.3 kHz" } };

    for (const auto& [hertz, label] : cases)
        EXPECT_EQ (CrossoverSliderLook::getFrequencyLabel (hertz), label) << hertz;
}

TEST (CrossoverSliderLook, HorizontalSliderDrawsOnlyItsThumbLineAndLabelSelectedOrNot)
{
    for (const auto selected : { false, true })
    {
        SCOPED_TRACE (selected ? "selected" : "not selected");
        LookedSlider s (juce::Slider::LinearHorizontal, 400, 60, selected);
        s.slider.setValue (1000.0, juce::dontSendNotification);
        const auto kx = (int) s.slider.getPositionOfValue (1000.0);

        const auto image = looktest::snapshot (s.slider);
        const auto drawn = looktest::findPixels (image, isDrawn);
        EXPECT_GE (drawn.getX(), kx - 2);
        EXPECT_LE (drawn.getRight(), kx + 3 + 50 + 1);
        // The label is drawn in the thumb's silver right of the line.
        EXPECT_FALSE (looktest::findPixels (image.getClippedImage ({ kx + 3, 0, 50, 30 }),
                                            [] (juce::Colour c) { return c.getAlpha() > 200 && c.getRed() > 150; }).isEmpty());
    }
}

TEST (CrossoverSliderLook, VerticalSliderGlowsPurpleFromTheBottomToTheMiddleOnlyWhileSelected)
{
    for (const auto selected : { false, true })
    {
        SCOPED_TRACE (selected ? "selected" : "not selected");
        LookedSlider s (juce::Slider::LinearVertical, 40, 200, selected);
        s.slider.setValue (20000.0, juce::dontSendNotification); // thumb line at the top

        const auto image = looktest::snapshot (s.slider);
        const auto track = s.look.getSliderLayout (s.slider).sliderBounds;
        const auto bottom = image.getPixelAt (20, track.getBottom() - 1);
        if (selected)
            EXPECT_TRUE (looktest::near (bottom, juce::Colours::purple, 12)) << bottom.toDisplayString (true);
        else
            EXPECT_TRUE (bottom.isTransparent());
        EXPECT_TRUE (image.getPixelAt (20, track.getCentreY() - 4).isTransparent());
    }
}
