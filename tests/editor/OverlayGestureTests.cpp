// The overlays' gestures end to end: the mouse through the window's peer, the
// window's change messages and processor calls, the records they leave.

#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

using namespace overlay_test;

namespace
{
    struct OverlayGesture : ::testing::Test, windowtest::OpenWindow
    {

        void useCrossovers (std::vector<float> frequencies)
        {
            setPlain (processor, ParameterIDs::numCrossovers, (float) frequencies.size());
            for (size_t i = 0; i < frequencies.size(); ++i)
                setPlain (processor, ParameterIDs::frequencyCrossover (i), frequencies[i]);
            deliverMessages();
        }

        std::vector<float> frequencies()
        {
            const auto records = processor.readRecords();
            std::vector<float> result;
            for (size_t i = 0; i < records.crossoverCount; ++i)
                result.push_back (records.crossovers[i].frequency);
            return result;
        }

        double selectedBand() { return editor->bandSelector.getValue(); }
        MultiAudioEditor::BandDisplay& display (int b) { return *editor->bandDisplays[b]; }
        MultiAudioEditor::CrossoverEditor& crossover (int i) { return *editor->crossoverEditors[i]; }

        DesktopMouse mouse { *editor };
    };
}

// A click in band b's "+" strip adds a crossover at the frequency under the
// marker's centre, whose record sits between the band's two edges.
TEST_F (OverlayGesture, ClickInAddStripSplitsTheBandAtTheMarker)
{
    const auto range = processor.apvts.getParameterRange (ParameterIDs::frequencyCrossover (4));
    for (int band : { 0, 1, 2 })
    {
        useCrossovers ({ 250.0f, 4000.0f });
        auto& strip = display (band).addCrossover;
        const int x = strip.getWidth() / 3;
        mouse.click (strip, { x, 12 });
        deliverMessages();

        // On the plot, in pixels, give or take the truncated band edge and the frequency's snapping.
        const float markerCentre = (float) display (band).getLocalPoint (&strip, juce::Point<int> (x, 0)).x;
        const auto f = frequencies();
        ASSERT_EQ (f.size(), 3u) << band;
        EXPECT_NEAR (range.convertTo0to1 (f[(size_t) band]) * (float) editor->plotArea.getWidth(), markerCentre, 2.0f) << band;
        EXPECT_TRUE (std::is_sorted (f.begin(), f.end())) << band;
        EXPECT_EQ (getPlain (processor, ParameterIDs::numCrossovers), 3.0f);
        EXPECT_EQ (getPlain (processor, ParameterIDs::frequencyCrossover ((size_t) band)), f[(size_t) band]);
        EXPECT_TRUE (crossover (2).isVisible() && display (3).isVisible());
    }
}

// "X" removes its crossover; with the last band selected the selection moves
// to the new last band.
TEST_F (OverlayGesture, RemoveButtonRemovesItsCrossover)
{
    useCrossovers ({ 250.0f, 1000.0f, 2500.0f });
    setPlain (processor, ParameterIDs::selectedBand, 3.0f);
    deliverMessages();

    mouse.click (crossover (1).removeButton, { 10, 10 });
    deliverMessages();

    EXPECT_EQ (frequencies(), (std::vector<float> { 250.0f, 2500.0f }));
    EXPECT_EQ (getPlain (processor, ParameterIDs::numCrossovers), 2.0f);
    EXPECT_EQ (getPlain (processor, ParameterIDs::selectedBand), 2.0f);
    EXPECT_TRUE (display (2).hasSelectionMark());
    EXPECT_FALSE (crossover (2).isVisible() || display (3).isVisible());
}

// Power, "B" and "S" flip their parameter and select their band; so does a
// click anywhere else in the band, off the level handle.
TEST_F (OverlayGesture, ClicksInABandSelectIt)
{
    useCrossovers ({ 250.0f, 1000.0f, 2500.0f });
    auto& controls = display (2).plotControls;
    auto& level = display (2).gainSlider;
    const int levelY = juce::roundToInt (level.getHandleY());

    struct Case { juce::Component& target; juce::Point<int> at; juce::String parameter; };
    const Case cases[] = {
        { controls.powerButton, { 10, 10 }, ParameterIDs::realActive (2) },
        { controls.activeButton, { 10, 10 }, ParameterIDs::active (2) },
        { controls.soloButton, { 10, 10 }, ParameterIDs::solo (2) },
        { level, { level.getWidth() / 2, levelY > 150 ? levelY - 60 : levelY + 60 }, {} },
    };
    for (const auto& c : cases)
    {
        setPlain (processor, ParameterIDs::selectedBand, 0.0f);
        deliverMessages();
        const float before = c.parameter.isEmpty() ? 0.0f : getPlain (processor, c.parameter);

        mouse.click (c.target, c.at);
        deliverMessages();

        if (c.parameter.isNotEmpty()) { EXPECT_EQ (getPlain (processor, c.parameter), 1.0f - before) << c.parameter; }
        EXPECT_EQ (selectedBand(), 2.0) << c.target.getComponentID();
        for (int b = 0; b < 6; ++b)
            EXPECT_EQ (display (b).hasSelectionMark(), b == 2) << b;
    }
}

TEST_F (OverlayGesture, ClickOnTheOnlyBandKeepsTheMarkAndSendsNothing)
{
    useCrossovers ({});
    ASSERT_TRUE (display (0).hasSelectionMark());
    ChangeCounter messages (display (0).gainSlider);

    mouse.click (display (0).selectButton, { 400, 150 });
    deliverMessages();

    EXPECT_TRUE (display (0).hasSelectionMark());
    EXPECT_EQ (messages.count, 0);
    EXPECT_EQ (selectedBand(), 0.0);

    mouse.click (display (0).addCrossover, { display (0).addCrossover.getWidth() / 3, 12 });   // still marked once split
    deliverMessages (60);
    EXPECT_TRUE (display (0).hasSelectionMark() && ! display (1).hasSelectionMark());
}

// Dragging crossover 1 above crossovers 2 and 3 carries them along, in order,
// and the band spans follow the handles.
TEST_F (OverlayGesture, DraggedCrossoverPushesItsNeighbours)
{
    useCrossovers ({ 250.0f, 1000.0f, 2500.0f, 9000.0f });
    auto& slider = crossover (0).crossoverSlider;
    mouse.drag (slider, { juce::roundToInt (slider.getHitReference()), 200 },
                { juce::roundToInt (slider.getPositionOfValue (5000.0)), 200 }, 30);
    deliverMessages (100);

    const auto f = frequencies();
    ASSERT_EQ (f.size(), 4u);
    EXPECT_GT (f[0], 4000.0f);
    EXPECT_TRUE (f[1] >= f[0] && f[2] >= f[1] && f[3] == 9000.0f) << f[0] << " " << f[1] << " " << f[2] << " " << f[3];
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR (crossover (i).crossoverSlider.getValue(), f[(size_t) i], 0.5) << i;
    for (int b = 1; b < 4; ++b)
        EXPECT_EQ (display (b).gainSlider.getX(), (int) crossover (b - 1).getHandlePosition()) << b;
}
