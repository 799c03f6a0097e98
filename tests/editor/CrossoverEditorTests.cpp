#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace overlay_test;

namespace
{
    struct CrossoverEditorTest : ::testing::Test
    {
        PlotOverlays overlays;
        MultiAudioEditor::CrossoverEditor& editor (size_t i) { return *overlays.crossoverEditors[(int) i]; }
    };
}

// Where JUCE routes a click: to the handle only inside its narrow window
// (leaning right above the dead row 110), otherwise to whatever lies behind.
TEST_F (CrossoverEditorTest, HandleTakesClicksOnlyInsideItsHitWindow)
{
    struct Case { int dx; int y; bool hits; };
    const Case cases[] = {
        { -3, 50, true }, { -5, 50, false }, { 14, 50, true }, { 15, 50, false },
        { -14, 200, true }, { -16, 200, false }, { 14, 200, true }, { 15, 200, false },
        { 0, 110, false }, { -3, 110, false }, { 10, 110, false }, { 0, 109, true }, { 0, 111, true },
    };

    overlays.setCrossoverCount (1);
    auto& slider = editor (0).crossoverSlider;

    for (float hz : { 25.0f, 1000.0f, 18000.0f })
    {
        overlays.setCrossoverFrequency (0, hz);
        const double t = slider.getHitReference();
        EXPECT_NEAR (t, 950.0 * slider.valueToProportionOfLength (slider.getValue()), 1.0e-9);

        // Probes at ceil(t) + dx: the reference lies at most one pixel left of
        // the whole-number anchor, which keeps every case off its boundary.
        const int anchor = (int) std::ceil (t);
        for (const auto& c : cases)
        {
            auto* hit = overlays.plot.getComponentAt (juce::Point<int> (anchor + c.dx, c.y));
            EXPECT_EQ (hit == &slider, c.hits) << hz << " Hz, t " << t << ", dx " << c.dx << ", y " << c.y;
        }
    }
}

TEST_F (CrossoverEditorTest, OverlayItselfLetsClicksThrough)
{
    overlays.setCrossoverCount (5);
    // Far from every handle and from the "X" buttons a click reaches a band display's controls.
    auto* hit = overlays.plot.getComponentAt (juce::Point<int> (10, 270));
    ASSERT_NE (hit, nullptr);
    EXPECT_EQ (hit->findParentComponentOfClass<MultiAudioEditor::CrossoverEditor>(), nullptr);
}

// The "X" button follows the handle whoever moves it: automation from another
// thread, a preset, or a resize.
TEST_F (CrossoverEditorTest, RemoveButtonFollowsHandleAfterOutsideChanges)
{
    overlays.setCrossoverCount (3);
    auto& e = editor (1);

    auto expectBesideHandle = [&e] (const char* when)
    {
        const float p = e.crossoverSlider.getPositionOfValue (e.crossoverSlider.getValue());
        EXPECT_EQ (e.removeButton.getBounds(),
                   juce::Rectangle<int> (juce::roundToInt (p - 10.0f), e.getHeight() / 2 - 10, 20, 20)) << when;
    };

    std::thread host ([this] { setPlain (overlays.processor, ParameterIDs::frequencyCrossover (1), 3300.0f); });
    host.join();
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

TEST_F (CrossoverEditorTest, IdsAndColoursNameTheCrossover)
{
    for (size_t i = 0; i < 5; ++i)
    {
        auto& e = editor (i);
        const auto n = juce::String ((int) i + 1);
        EXPECT_EQ (e.crossoverSlider.getComponentID(), "crossover-" + n);
        EXPECT_EQ (e.removeButton.getComponentID(), "remove-" + n);
        EXPECT_EQ (e.removeButton.getButtonText(), "X");
        EXPECT_EQ (e.frame.findColour (juce::GroupComponent::textColourId), juce::Colours::white);
        EXPECT_EQ (getBandIndexFromParameterID (e.crossoverSlider.getComponentID()), (int) i);
    }

    // Beyond the processor's five records: silver text, and IDs no crossover answers to.
    MultiAudioEditor::CrossoverEditor extra (6, overlays.processor);
    EXPECT_EQ (extra.frame.findColour (juce::GroupComponent::textColourId), juce::Colour (0xffc0c0c0));
    EXPECT_EQ (extra.crossoverSlider.getComponentID(), "crossover-unknown");
    EXPECT_EQ (extra.removeButton.getComponentID(), "remove-unknown");
}
