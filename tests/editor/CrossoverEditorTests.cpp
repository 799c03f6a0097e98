#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace overlay_test;

// Where JUCE routes a click: to the handle only inside its narrow window
// (leaning right above the dead row 110), otherwise through the overlay to
// what lies behind it.
TEST (CrossoverEditor, HandleTakesClicksOnlyInsideItsHitWindow)
{
    struct Case { int dx; int y; bool hits; };
    const Case cases[] = {
        { -3, 50, true }, { -5, 50, false }, { 14, 50, true }, { 15, 50, false },
        { -14, 200, true }, { -16, 200, false }, { 14, 200, true }, { 15, 200, false },
        { 0, 110, false }, { -3, 110, false }, { 10, 110, false }, { 0, 109, true }, { 0, 111, true },
    };

    PlotOverlays overlays;
    overlays.setCrossovers (1);
    auto& editor = *overlays.crossoverEditors[0];

    for (float hz : { 25.0f, 1000.0f, 18000.0f })
    {
        overlays.setFrequency (0, hz);
        const double t = editor.crossoverSlider.getHitReference();
        EXPECT_NEAR (t, 950.0 * editor.crossoverSlider.valueToProportionOfLength (hz), 1.0e-6);

        // Probes at ceil(t) + dx: t lies less than a pixel left of the anchor,
        // which keeps every case off its boundary.
        for (const auto& c : cases)
        {
            auto* hit = overlays.plot.getComponentAt (juce::Point<int> ((int) std::ceil (t) + c.dx, c.y));
            EXPECT_EQ (hit == &editor.crossoverSlider, c.hits) << hz << " Hz, t " << t << ", dx " << c.dx << ", y " << c.y;
            EXPECT_NE (hit, &editor);
        }
    }
}

// The "X" button stays beside the handle whoever moves it: automation on a
// host thread, a state load, a resize.
TEST (CrossoverEditor, RemoveButtonFollowsTheHandle)
{
    PlotOverlays overlays;
    overlays.setCrossovers (3);
    auto& e = *overlays.crossoverEditors[1];
    auto expectBesideHandle = [&e] (const char* when)
    {
        const float p = e.crossoverSlider.getPositionOfValue (e.crossoverSlider.getValue());
        EXPECT_EQ (e.removeButton.getBounds(),
                   juce::Rectangle<int> (juce::roundToInt (p - 10.0f), e.getHeight() / 2 - 10, 20, 20)) << when;
    };

    std::thread ([&] { setPlain (overlays.processor, ParameterIDs::frequencyCrossover (1), 3300.0f); }).join();
    deliverMessages();
    EXPECT_NEAR (e.crossoverSlider.getValue(), 3300.0, 1.0);
    expectBesideHandle ("after automation");

    juce::MemoryBlock state;
    overlays.processor.getStateInformation (state);
    setPlain (overlays.processor, ParameterIDs::frequencyCrossover (1), 600.0f);
    overlays.processor.setStateInformation (state.getData(), (int) state.getSize());
    deliverMessages();
    EXPECT_NEAR (e.crossoverSlider.getValue(), 3300.0, 1.0);
    expectBesideHandle ("after a state load");

    e.setSize (700, 150);
    expectBesideHandle ("after a resize");
}
