#include "editor/CrossoverSliderLook.h"
#include "tests/editor/LookTestSupport.h"

#include <gtest/gtest.h>

namespace
{
    /** A slider from 20 Hz to 20 kHz drawn with its own CrossoverSliderLook. */
    struct LookedSlider
    {
        LookedSlider (juce::Slider::SliderStyle style, int width, int height, bool selected, double value)
        {
            look.selected = selected;
            slider.setLookAndFeel (&look);
            slider.setSliderStyle (style);
            slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
            slider.setRange (20.0, 20000.0);
            slider.setValue (value, juce::dontSendNotification);
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
        LookedSlider s (juce::Slider::LinearHorizontal, 400, 60, selected, 1000.0);
        const auto kx = (int) s.slider.getPositionOfValue (1000.0);
        const auto image = looktest::snapshot (s.slider);
        const auto drawn = looktest::findPixels (image, [] (juce::Colour c) { return ! c.isTransparent(); });
        EXPECT_GE (drawn.getX(), kx - 2) << selected;
        EXPECT_LE (drawn.getRight(), kx + 3 + 50 + 1) << selected;
        // The label, in the thumb's silver, right of the line.
        const auto label = image.getClippedImage ({ kx + 3, 0, 50, 30 });
        EXPECT_FALSE (looktest::findPixels (label, [] (juce::Colour c) { return c.getAlpha() > 200 && c.getRed() > 150; }).isEmpty());
    }
}

TEST (CrossoverSliderLook, VerticalSliderGlowsPurpleFromTheBottomToTheMiddleOnlyWhileSelected)
{
    for (const auto selected : { false, true })
    {
        LookedSlider s (juce::Slider::LinearVertical, 40, 200, selected, 20000.0); // thumb line at the top
        const auto image = looktest::snapshot (s.slider);
        const auto track = s.look.getSliderLayout (s.slider).sliderBounds;
        const auto bottom = image.getPixelAt (20, track.getBottom() - 1);
        EXPECT_TRUE (selected ? looktest::near (bottom, juce::Colours::purple, 12) : bottom.isTransparent()) << bottom.toDisplayString (true);
        EXPECT_TRUE (image.getPixelAt (20, track.getCentreY() - 4).isTransparent());
    }
}
