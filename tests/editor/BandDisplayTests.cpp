#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

using namespace overlay_test;

namespace
{
    struct BandDisplayTest : ::testing::Test
    {
        PlotOverlays overlays;
        MultiAudioEditor::BandDisplay& display (size_t b) { return *overlays.bandDisplays[(int) b]; }
        float handle (size_t i) { return overlays.crossoverEditors[(int) i]->getHandlePosition(); }
    };
}

TEST_F (BandDisplayTest, OneBandSpansTheWholePlot)
{
    overlays.setCrossoverCount (0);
    auto& d = display (0);

    EXPECT_TRUE (d.isVisible());
    for (size_t b = 1; b < 6; ++b)
        EXPECT_FALSE (display (b).isVisible()) << b;

    EXPECT_EQ (d.gainSlider.getBounds(), juce::Rectangle<int> (0, -10, 950, 298));
    EXPECT_EQ (d.selectButton.getBounds(), juce::Rectangle<int> (0, 50, 950, 238));
    EXPECT_EQ (d.addCrossover.getBounds(), juce::Rectangle<int> (30, 0, 890, 30));
    EXPECT_EQ (d.plotControls.getBounds(), juce::Rectangle<int> (925, 0, 25, 85));
    EXPECT_EQ (d.getIndexOfChildComponent (&d.selectButton), 0) << "the click area lies behind the other controls";
}

// Neighbouring spans meet at the crossover handle, truncated to a whole pixel.
TEST_F (BandDisplayTest, SpansMeetAtTruncatedHandlePositions)
{
    for (int count = 1; count <= 5; ++count)
    {
        overlays.setCrossoverCount (count);
        for (size_t b = 0; b <= (size_t) count; ++b)
        {
            auto& d = display (b);
            ASSERT_TRUE (d.isVisible()) << count << " crossovers, band " << b;
            const int left = b == 0 ? 0 : (int) handle (b - 1);
            const int right = b == (size_t) count ? 950 : (int) handle (b);
            EXPECT_EQ (d.gainSlider.getBounds(), juce::Rectangle<int> (left, -10, right - left, 298)) << count << "/" << b;
            // Band 0 leaves its top 50 pixels free; every other band's click area covers its whole span.
            EXPECT_EQ (d.selectButton.getBounds(),
                       b == 0 ? juce::Rectangle<int> (left, 50, right - left, 238) : d.gainSlider.getBounds());
            EXPECT_EQ (d.plotControls.getBounds(), juce::Rectangle<int> (right - 25, 0, 25, 85));
        }
        for (size_t b = (size_t) count + 1; b < 6; ++b)
            EXPECT_FALSE (display (b).isVisible()) << count << "/" << b;
    }

    // A handle with a fraction above one half: truncated, never rounded.
    overlays.setCrossoverCount (1);
    float hz = 300.0f;
    while (handle (0) - std::floor (handle (0)) < 0.6f)
        overlays.setCrossoverFrequency (0, hz += 7.0f);
    EXPECT_EQ (display (1).gainSlider.getX(), (int) std::floor (handle (0))) << hz;
    EXPECT_EQ (display (0).gainSlider.getRight(), (int) std::floor (handle (0))) << hz;
}

// A click on power, "B" or "S" flips the bound parameter and selects the band.
TEST_F (BandDisplayTest, SwitchesFlipTheirParameterAndSelectTheBand)
{
    overlays.setCrossoverCount (2);
    auto& d = display (2);
    auto& controls = d.plotControls;
    EXPECT_EQ (controls.powerButton.getBounds(), juce::Rectangle<int> (0, 5, 20, 20));
    EXPECT_EQ (controls.activeButton.getBounds(), juce::Rectangle<int> (0, 30, 20, 20));
    EXPECT_EQ (controls.soloButton.getBounds(), juce::Rectangle<int> (0, 55, 20, 20));
    EXPECT_EQ (d.gainSlider.getComponentID(), "band-display-gain-3");

    struct Case { juce::Button& button; const char* id; juce::String parameter; };
    const Case cases[] = {
        { controls.powerButton, "real-activate-3", ParameterIDs::realActive (2) },
        { controls.activeButton, "activate-3", ParameterIDs::active (2) },
        { controls.soloButton, "solo-3", ParameterIDs::solo (2) },
    };

    DesktopMouse mouse (overlays.plot);
    ChangeCounter selections (d.gainSlider);
    for (const auto& c : cases)
    {
        EXPECT_EQ (c.button.getComponentID(), c.id);
        d.setSelectionMark (false);
        const float before = getPlain (overlays.processor, c.parameter);

        mouse.click (c.button, { 10, 10 });
        deliverMessages();

        EXPECT_EQ (getPlain (overlays.processor, c.parameter), 1.0f - before) << c.id;
        EXPECT_TRUE (d.hasSelectionMark()) << c.id;
    }
    EXPECT_EQ (selections.count, 3);
}

// The level handle answers only 30 pixels inside the span and within 15
// pixels of its level; elsewhere the click reaches the band's click area.
TEST_F (BandDisplayTest, LevelHandleHitBand)
{
    overlays.setCrossoverCount (1);
    auto& d = display (1);
    auto& slider = d.gainSlider;
    setPlain (overlays.processor, ParameterIDs::compgain (1), 0.5f);
    const int y = slider.getY() + juce::roundToInt (slider.getHandleY());
    const int left = slider.getX(), right = slider.getRight(), mid = (left + right) / 2;

    struct Case { int x; int dy; bool hits; };
    const Case cases[] = {
        { left + 31, 0, true }, { left + 30, 0, false }, { right - 31, 0, true }, { right - 30, 0, false },
        { mid, 14, true }, { mid, -14, true }, { mid, 16, false }, { mid, -16, false },
    };
    for (const auto& c : cases)
    {
        auto* hit = overlays.plot.getComponentAt (juce::Point<int> (c.x, y + c.dy));
        EXPECT_EQ (hit == &slider, c.hits) << c.x << ", " << c.dy;
        if (! c.hits && c.x > left + 30 && c.x < right - 30)
        {
            EXPECT_EQ (hit, &d.selectButton);
        }
    }
}

// The "+" marker shows only where a click adds a crossover, and a click there
// asks the window for one; with every crossover in use it never shows.
TEST_F (BandDisplayTest, AddStripMarkerAndClicks)
{
    overlays.setCrossoverCount (1);
    auto& strip = display (1).addCrossover;
    const int w = strip.getWidth();
    ASSERT_GT (w, 200);

    DesktopMouse mouse (overlays.plot);
    ChangeCounter requests (strip);

    struct Case { int x; int y; bool shows; };
    const Case cases[] = {
        { 100, 10, true }, { 30, 10, true }, { 29, 10, false }, { w - 31, 10, true }, { w - 30, 10, false },
        { 100, 0, false }, { 100, 1, true }, { 100, 28, true }, { 100, 29, false },
    };
    for (const auto& c : cases)
    {
        mouse.move (strip, { c.x, c.y });
        EXPECT_EQ (strip.addButton.isVisible(), c.shows) << c.x << ", " << c.y;
        if (c.shows)
        {
            EXPECT_EQ (strip.addButton.getBounds(), juce::Rectangle<int> (c.x - 15, 0, 30, 30));
        }
    }

    mouse.click (strip, { 120, 10 });   // lands on the marker, reaches the strip
    mouse.click (strip, { 10, 10 });    // outside the active area
    deliverMessages();
    EXPECT_EQ (requests.count, 1);

    mouse.move (overlays.plot, { 5, 250 });
    EXPECT_FALSE (strip.addButton.isVisible()) << "leaving the strip hides the marker";

    overlays.setCrossoverCount (5);
    for (int x : { 60, 100, 140 })
    {
        mouse.move (strip, { x, 10 });
        EXPECT_FALSE (strip.addButton.isVisible()) << x;
        mouse.click (strip, { x, 10 });
    }
    deliverMessages();
    EXPECT_EQ (requests.count, 1);
}

// The only band: a click on it clears the mark and tells the window nothing.
TEST_F (BandDisplayTest, ClickOnTheOnlyBandClearsTheMark)
{
    overlays.setCrossoverCount (0);
    auto& d = display (0);
    d.setSelectionMark (true);

    DesktopMouse mouse (overlays.plot);
    ChangeCounter selections (d.gainSlider);
    mouse.click (d.selectButton, { 100, 150 });
    deliverMessages();

    EXPECT_FALSE (d.hasSelectionMark());
    EXPECT_EQ (selections.count, 0);
}

// Colours as drawn: "S" teal when soloed, "B" green while the band is
// bypassed, the power glyph on its button, and the purple glow at the bottom
// of the selected band only.
TEST_F (BandDisplayTest, SwitchesAndSelectionDrawTheirColours)
{
    overlays.setCrossoverCount (2);
    auto& controls = display (1).plotControls;

    auto pixelIn = [&controls] (juce::Button& button)
    {
        const auto image = controls.createComponentSnapshot (controls.getLocalBounds());
        return image.getPixelAt (button.getX() + 10, button.getY() + 3);
    };
    auto isBlack = [] (juce::Colour c) { return c.getRed() < 20 && c.getGreen() < 20 && c.getBlue() < 20; };

    EXPECT_TRUE (isBlack (pixelIn (controls.soloButton)));
    setPlain (overlays.processor, ParameterIDs::solo (1), 1.0f);
    const auto teal = pixelIn (controls.soloButton);
    EXPECT_TRUE (teal.getRed() < 40 && teal.getGreen() > 120 && teal.getBlue() > 100) << teal.toDisplayString (true);

    EXPECT_TRUE (isBlack (pixelIn (controls.activeButton)));
    setPlain (overlays.processor, ParameterIDs::active (1), 0.0f);
    const auto green = pixelIn (controls.activeButton);
    EXPECT_TRUE (green.getRed() < 30 && green.getGreen() > 90 && green.getBlue() < 30) << green.toDisplayString (true);

    const auto power = controls.createComponentSnapshot (controls.powerButton.getBounds());
    int brightPixels = 0;
    for (int y = 0; y < power.getHeight(); ++y)
        for (int x = 0; x < power.getWidth(); ++x)
            brightPixels += power.getPixelAt (x, y).getBrightness() > 0.6f ? 1 : 0;
    EXPECT_GT (brightPixels, 10) << "the power glyph is drawn";

    display (1).setSelectionMark (true);
    const auto plot = overlays.plot.createComponentSnapshot (overlays.plot.getLocalBounds());
    auto bottomOf = [&] (size_t b)
    {
        const auto span = display (b).gainSlider.getBounds();
        return plot.getPixelAt (span.getCentreX(), overlays.plot.getHeight() - 10);
    };
    const auto glow = bottomOf (1);
    EXPECT_TRUE (glow.getAlpha() > 100 && glow.getRed() > 60 && glow.getBlue() > 60 && glow.getGreen() < 30)
        << glow.toDisplayString (true);
    EXPECT_EQ (bottomOf (0).getAlpha(), 0);
    EXPECT_EQ (bottomOf (2).getAlpha(), 0);
}
