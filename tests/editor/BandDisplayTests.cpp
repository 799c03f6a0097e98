#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace overlay_test;

// Each band spans the plot between its neighbouring handles, truncated to a
// whole pixel; band 0 leaves its top 50 pixels to what lies behind.
TEST (BandDisplay, SpansMeetAtTruncatedHandlePositions)
{
    PlotOverlays overlays;
    auto handle = [&] (size_t i) { return overlays.crossoverEditors[(int) i]->getHandlePosition(); };

    for (int count = 0; count <= 5; ++count)
    {
        overlays.setCrossovers (count);
        for (size_t b = 0; b < 6; ++b)
        {
            auto& d = *overlays.bandDisplays[(int) b];
            ASSERT_EQ (d.isVisible(), b <= (size_t) count) << count << "/" << b;
            if (! d.isVisible())
                continue;

            const int left = b == 0 ? 0 : (int) handle (b - 1);
            const int right = b == (size_t) count ? 950 : (int) handle (b);
            const auto span = juce::Rectangle<int> (left, -10, right - left, 298);
            EXPECT_EQ (d.gainSlider.getBounds(), span) << count << "/" << b;
            EXPECT_EQ (d.selectButton.getBounds(), b == 0 ? span.withTop (50).withHeight (238) : span);
            EXPECT_EQ (d.plotControls.getBounds(), juce::Rectangle<int> (right - 25, 0, 25, 85));
            if (count < 5) { EXPECT_EQ (d.addCrossover.getBounds(), juce::Rectangle<int> (left + 30, 0, right - left - 60, 30)); }
            EXPECT_EQ (d.getIndexOfChildComponent (&d.selectButton), 0) << "the click area lies behind";
        }
    }

    auto& controls = overlays.bandDisplays[0]->plotControls;
    EXPECT_EQ (controls.powerButton.getBounds(), juce::Rectangle<int> (0, 5, 20, 20));
    EXPECT_EQ (controls.activeButton.getBounds(), juce::Rectangle<int> (0, 30, 20, 20));
    EXPECT_EQ (controls.soloButton.getBounds(), juce::Rectangle<int> (0, 55, 20, 20));

    // A handle with a fraction above one half is truncated, never rounded.
    overlays.setCrossovers (1);
    for (float hz = 300.0f; handle (0) - std::floor (handle (0)) < 0.6f; hz += 7.0f)
        overlays.setFrequency (0, hz);
    EXPECT_EQ (overlays.bandDisplays[1]->gainSlider.getX(), (int) std::floor (handle (0)));
    EXPECT_EQ (overlays.bandDisplays[0]->gainSlider.getRight(), (int) std::floor (handle (0)));
}

// The level handle answers only more than 30 pixels inside the span and
// within 15 pixels of its level; elsewhere the click reaches the band's click area.
TEST (BandDisplay, LevelHandleHitBand)
{
    PlotOverlays overlays;
    overlays.setCrossovers (1);
    auto& d = *overlays.bandDisplays[1];
    setPlain (overlays.processor, ParameterIDs::compgain (1), 0.5f);
    const int y = d.gainSlider.getY() + juce::roundToInt (d.gainSlider.getHandleY());
    const int left = d.gainSlider.getX(), right = d.gainSlider.getRight(), mid = (left + right) / 2;

    struct Case { int x; int dy; bool hits; };
    const Case cases[] = {
        { left + 31, 0, true }, { left + 30, 0, false }, { right - 31, 0, true }, { right - 30, 0, false },
        { mid, 14, true }, { mid, -14, true }, { mid, 16, false }, { mid, -16, false },
    };
    for (const auto& c : cases)
    {
        auto* hit = overlays.plot.getComponentAt (juce::Point<int> (c.x, y + c.dy));
        EXPECT_EQ (hit, c.hits ? static_cast<juce::Component*> (&d.gainSlider) : &d.selectButton) << c.x << ", " << c.dy;
    }
}

// The "+" marker shows only where a click adds a crossover, and only such a
// click asks the window for one; with five crossovers it never shows.
TEST (BandDisplay, AddStripMarkerAndClicks)
{
    PlotOverlays overlays;
    overlays.setCrossovers (1);
    auto& strip = overlays.bandDisplays[1]->addCrossover;
    const int w = strip.getWidth();
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
        if (c.shows) { EXPECT_EQ (strip.addButton.getBounds(), juce::Rectangle<int> (c.x - 15, 0, 30, 30)); }
    }

    mouse.click (strip, { 120, 10 });   // on the marker: reaches the strip
    mouse.click (strip, { 10, 10 });    // outside the active area
    mouse.move (overlays.plot, { 5, 250 });
    EXPECT_FALSE (strip.addButton.isVisible()) << "leaving the strip hides the marker";

    overlays.setCrossovers (5);
    for (int x : { 60, 100, 140 })
    {
        mouse.click (strip, { x, 10 });
        EXPECT_FALSE (strip.addButton.isVisible()) << x;
    }
    deliverMessages();
    EXPECT_EQ (requests.count, 1);
}

// As drawn: "S" teal when soloed, "B" green while bypassed, the power glyph,
// and the purple glow at the bottom of the selected band only.
TEST (BandDisplay, SwitchesAndSelectionDrawTheirColours)
{
    PlotOverlays overlays;
    overlays.setCrossovers (2);
    auto& controls = overlays.bandDisplays[1]->plotControls;
    auto pixelIn = [&controls] (juce::Button& button)
    {
        return controls.createComponentSnapshot (controls.getLocalBounds()).getPixelAt (button.getX() + 10, button.getY() + 3);
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
    int bright = 0;
    for (int y = 0; y < power.getHeight(); ++y)
        for (int x = 0; x < power.getWidth(); ++x)
            bright += power.getPixelAt (x, y).getBrightness() > 0.6f ? 1 : 0;
    EXPECT_GT (bright, 10) << "the power glyph is drawn";

    overlays.bandDisplays[1]->setSelectionMark (true);
    const auto plot = overlays.plot.createComponentSnapshot (overlays.plot.getLocalBounds());
    auto bottomOf = [&] (int b) { return plot.getPixelAt (overlays.bandDisplays[b]->gainSlider.getBounds().getCentreX(), 268); };
    const auto glow = bottomOf (1);
    EXPECT_TRUE (glow.getAlpha() > 100 && glow.getRed() > 60 && glow.getBlue() > 60 && glow.getGreen() < 30)
        << glow.toDisplayString (true);
    EXPECT_EQ (bottomOf (0).getAlpha(), 0);
    EXPECT_EQ (bottomOf (2).getAlpha(), 0);
}
