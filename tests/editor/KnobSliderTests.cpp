#include "editor/KnobSlider.h"
#include "resources/EmbeddedResources.h"
#include "tests/editor/LookTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    const juce::Colour litDot (0xffc3c3c3);

    /** A knob without text box, 0 to 100, its look set for one check. */
    struct Knob
    {
        explicit Knob (float scale, bool body = false)
        {
            knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
            knob.setRange (0.0, 100.0, 1.0);
            knob.lookAndFeel.knobScale = scale;
            knob.lookAndFeel.drawKnobBody = body;
            knob.setSize (186, 130);
        }

        juce::Point<float> centre() { return knob.lookAndFeel.getSliderLayout (knob).sliderBounds.toFloat().getCentre(); }

        /** The pixel `distance` from the centre in the direction `degrees` clockwise from twelve o'clock. */
        juce::Point<int> at (float degrees, float distance)
        {
            const auto radians = juce::degreesToRadians (degrees);
            const auto p = centre() + juce::Point<float> (std::sin (radians), -std::cos (radians)) * distance;
            return { (int) std::floor (p.x), (int) std::floor (p.y) };
        }

        juce::Colour pixel (const juce::Image& image, float degrees, float distance)
        {
            const auto p = at (degrees, distance);
            return image.getPixelAt (p.x, p.y);
        }

        juce::Image drawAt (double value)
        {
            knob.setValue (value, juce::dontSendNotification);
            return looktest::snapshot (knob);
        }

        KnobSlider knob;
    };

    /** Body and pointer drawn from freshly parsed images on every paint. */
    struct FreshlyParsedKnobLook : KnobSliderLookAndFeel
    {
        void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                               float startAngle, float endAngle, juce::Slider&) override
        {
            const auto parse = [] (const char* svg) { return juce::Drawable::createFromSVG (*juce::XmlDocument::parse (svg)); };
            auto pointer = parse (resources::knobPointerSvg), body = parse (resources::knobBodySvg);
            pointer->replaceColour (juce::Colours::black, pointerColour);
            const auto w = pointer->getWidth(), h = pointer->getHeight();
            const auto placement = juce::AffineTransform::translation ((float) x + (float) width * 0.5f - 0.5f * knobScale * (float) w,
                                                                       (float) y + (float) height * 0.5f - 0.5f * knobScale * (float) h);
            body->setTransform (juce::AffineTransform::scale (knobScale));
            body->draw (g, 1.0f, placement);
            pointer->setTransform (juce::AffineTransform::rotation (startAngle + sliderPos * (endAngle - startAngle),
                                                                    (float) (w / 2), (float) (h / 2)).scaled (knobScale));
            pointer->draw (g, 1.0f, placement);
        }
    };
}

TEST (KnobSlider, PointerPointsAtTheStartAndEndOfTheDefaultArc)
{
    const struct { double value; float pointsAt, notAt; } cases[] = { { 0.0, 216.0f, 144.0f }, { 100.0, 144.0f, 216.0f } };
    for (const auto& c : cases)
    {
        Knob k (1.0f);
        const auto image = k.drawAt (c.value);
        for (const auto distance : { 18.0f, 25.0f, 33.0f }) // the bar runs from 15 to 36.2 units out
        {
            EXPECT_TRUE (looktest::near (k.pixel (image, c.pointsAt, distance), juce::Colours::white, 8)) << c.value;
            EXPECT_TRUE (k.pixel (image, c.notAt, distance).isTransparent()) << c.value;
        }
    }
}

TEST (KnobSlider, KnobIsOneHundredImageUnitsAcrossTimesItsScaleWithDotsJustOutside)
{
    for (const auto scale : { 1.0f, 0.7f })
    {
        SCOPED_TRACE (scale);
        Knob k (scale, true);
        k.knob.lookAndFeel.drawValueDots = true;
        const auto image = k.drawAt (100.0);
        const auto radius = 50.0f * scale;
        for (const auto degrees : { 0.0f, 100.0f, 200.0f, 300.0f })
        {
            EXPECT_EQ (k.pixel (image, degrees, 0.7f * radius).getAlpha(), 255) << degrees;  // body disc, radius 38.75 units
            EXPECT_LT (k.pixel (image, degrees, 0.82f * radius).getAlpha(), 255) << degrees; // the shadow round it
        }
        EXPECT_TRUE (k.pixel (image, 36.0f, radius + 0.5f).isTransparent());
        EXPECT_TRUE (looktest::near (k.pixel (image, 0.0f, radius + 2.0f), litDot, 10)); // a dot just outside the box
    }
}

TEST (KnobSlider, ValueDotsAreLightUpToThePointer)
{
    const struct { double value; int lastLitDot; } cases[] = { { 0.0, 0 }, { 50.0, 10 }, { 100.0, 20 } };
    for (const auto& c : cases)
    {
        Knob k (1.0f);
        k.knob.lookAndFeel.drawValueDots = true;
        const auto image = k.drawAt (c.value);
        for (int i = 0; i <= 20; ++i)
        {
            const auto colour = k.pixel (image, 216.0f + (float) i * 14.4f, 52.0f);
            EXPECT_TRUE (looktest::near (colour, i <= c.lastLitDot ? litDot : juce::Colours::darkgrey, 10))
                << "value " << c.value << ", dot " << i << ": " << colour.toDisplayString (true);
        }
    }
}

TEST (KnobSlider, RangeTextsCarryTheSlidersFormattingBesideTheFirstAndLastDots)
{
    const struct { double start, end, interval; const char* suffix; } cases[] = {
        { 0.0, 100.0, 1.0, "%" }, { -24.0, 24.0, 0.1, " dB" }, { 20.0, 20000.0, 1.0, " Hz" }
    };
    for (const auto& c : cases)
    {
        Knob k (0.7f);
        k.knob.setRange (c.start, c.end, c.interval);
        k.knob.setTextValueSuffix (c.suffix);
        k.knob.lookAndFeel.drawRangeLabels = true;
        k.knob.lookAndFeel.labelColour = juce::Colours::red;
        const auto startText = k.knob.getTextFromValue (c.start), endText = k.knob.getTextFromValue (c.end);
        SCOPED_TRACE (startText + " ... " + endText);

        const auto image = looktest::snapshot (k.knob);
        const auto isText = [] (juce::Colour p) { return p.getAlpha() > 60 && p.getRed() > 2 * p.getGreen() + 40; };
        const auto cx = juce::roundToInt (k.centre().x);
        const auto startInk = looktest::findPixels (image.getClippedImage ({ 0, 0, cx, image.getHeight() }), isText);
        const auto endInk = looktest::findPixels (image.getClippedImage ({ cx, 0, image.getWidth() - cx, image.getHeight() }), isText)
                                .translated (cx, 0);

        const juce::Font drawnFont (12.0f);
        EXPECT_NEAR (startInk.getWidth(), drawnFont.getStringWidthFloat (startText), 3.0);
        EXPECT_NEAR (endInk.getWidth(), drawnFont.getStringWidthFloat (endText), 3.0);
        // Near the lower edges of the first and last dots, each overlapping its dot by at most 4 pixels.
        EXPECT_NEAR (startInk.getCentreY(), k.at (216.0f, 35.0f).y + 2, 5);
        EXPECT_NEAR (endInk.getCentreY(), k.at (144.0f, 35.0f).y + 2, 5);
        EXPECT_LE (startInk.getRight(), k.at (216.0f, 37.0f).x + 4);
        EXPECT_GE (endInk.getX(), k.at (144.0f, 37.0f).x - 4);
    }
}

TEST (KnobSlider, WithoutDotsOrTextsOnlyBodyAndPointerAreDrawn)
{
    const struct { bool dots, labels; } cases[] = { { false, false }, { true, false }, { false, true } };
    for (const auto& c : cases)
    {
        Knob k (0.7f, true);
        k.knob.lookAndFeel.drawValueDots = c.dots;
        k.knob.lookAndFeel.drawRangeLabels = c.labels;
        const auto drawn = looktest::findPixels (looktest::snapshot (k.knob), [] (juce::Colour p) { return ! p.isTransparent(); });
        const auto box = juce::Rectangle<float> (70.0f, 70.0f).withCentre (k.centre()).getSmallestIntegerContainer();
        EXPECT_FALSE (drawn.isEmpty());
        EXPECT_EQ (box.contains (drawn), ! (c.dots || c.labels)) << drawn.toString() << " in " << box.toString();
    }
}

TEST (KnobSlider, SharedParsedImagesDrawExactlyWhatFreshlyParsedOnesDraw)
{
    for (const auto scale : { 1.0f, 0.7f, 0.09f })
    {
        Knob cached (scale, true), fresh (scale, true);
        FreshlyParsedKnobLook freshLook;
        freshLook.knobScale = scale;
        fresh.knob.setLookAndFeel (&freshLook);
        for (const auto value : { 0.0, 37.0, 100.0 })
            EXPECT_TRUE (looktest::samePixels (cached.drawAt (value), fresh.drawAt (value))) << scale << ", " << value;
        fresh.knob.setLookAndFeel (nullptr);
    }
}
