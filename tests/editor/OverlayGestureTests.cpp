// The overlays' gestures end to end: the user's mouse through the window's
// peer, the window's change messages and processor calls, the records.

#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

using namespace overlay_test;

namespace
{
    struct OverlayGestureTest : ::testing::Test
    {
        OverlayGestureTest()
        {
            ignoreXErrors();
            editor.reset (dynamic_cast<MultiAudioEditor*> (processor.createEditor()));
            mouse = std::make_unique<DesktopMouse> (*editor);
            deliverMessages();
        }

        ~OverlayGestureTest() override
        {
            mouse.reset();
            processor.editorBeingDeleted (editor.get());
            editor.reset();
        }

        /** Sets the crossover count as the host would, with the given frequencies. */
        void useCrossovers (std::initializer_list<float> frequencies)
        {
            setPlain (processor, ParameterIDs::numCrossovers, (float) frequencies.size());
            size_t i = 0;
            for (auto hz : frequencies)
                setPlain (processor, ParameterIDs::frequencyCrossover (i++), hz);
            deliverMessages();
        }

        std::vector<float> activeFrequencies()
        {
            const auto records = processor.readRecords();
            std::vector<float> result;
            for (size_t i = 0; i < records.crossoverCount; ++i)
                result.push_back (records.crossovers[i].frequency);
            return result;
        }

        double selectedBand() { return editor->bandSelector.getValue(); }
        MultiAudioEditor::BandDisplay& display (size_t b) { return *editor->bandDisplays[(int) b]; }
        MultiAudioEditor::CrossoverEditor& crossover (size_t i) { return *editor->crossoverEditors[(int) i]; }

        MultiAudioProcessor processor;
        std::unique_ptr<MultiAudioEditor> editor;
        std::unique_ptr<DesktopMouse> mouse;
    };
}

// A click in band b's "+" strip adds a crossover at the frequency under the
// marker's centre; its record lands between the band's two edges.
TEST_F (OverlayGestureTest, ClickInAddStripSplitsTheBandAtTheMarker)
{
    const auto& range = processor.apvts.getParameterRange (ParameterIDs::frequencyCrossover (4));

    for (size_t band : { 0u, 1u, 2u })
    {
        useCrossovers ({ 250.0f, 4000.0f });
        auto& strip = display (band).addCrossover;
        const int x = strip.getWidth() / 3;
        mouse->click (strip, { x, 12 });
        deliverMessages();

        // Where the new frequency lies on the plot, in pixels: at the marker's
        // centre, give or take the handle's truncation and the frequency's snapping.
        const float markerCentre = (float) display (band).getLocalPoint (&strip, juce::Point<int> (x, 0)).x;
        const auto pixelOf = [&] (float hz) { return range.convertTo0to1 (hz) * (float) editor->plotArea.getWidth(); };

        const auto frequencies = activeFrequencies();
        ASSERT_EQ (frequencies.size(), 3u) << "band " << band;
        EXPECT_NEAR (pixelOf (frequencies[band]), markerCentre, 2.0f) << "band " << band;
        EXPECT_TRUE (std::is_sorted (frequencies.begin(), frequencies.end())) << "band " << band;
        EXPECT_EQ (getPlain (processor, ParameterIDs::numCrossovers), 3.0f);
        EXPECT_EQ (getPlain (processor, ParameterIDs::frequencyCrossover (band)), frequencies[band]);
        EXPECT_TRUE (crossover (2).isVisible());
        EXPECT_TRUE (display (3).isVisible());
    }
}

// "X" removes its crossover; with the last band selected the selection moves
// to the new last band.
TEST_F (OverlayGestureTest, RemoveButtonRemovesCrossoverAndKeepsSelectionInRange)
{
    useCrossovers ({ 250.0f, 1000.0f, 2500.0f });
    setPlain (processor, ParameterIDs::selectedBand, 3.0f);
    deliverMessages();
    ASSERT_EQ (selectedBand(), 3.0);

    mouse->click (crossover (1).removeButton, { 10, 10 });
    deliverMessages();

    EXPECT_EQ (activeFrequencies(), (std::vector<float> { 250.0f, 2500.0f }));
    EXPECT_EQ (getPlain (processor, ParameterIDs::numCrossovers), 2.0f);
    EXPECT_EQ (selectedBand(), 2.0);
    EXPECT_EQ (getPlain (processor, ParameterIDs::selectedBand), 2.0f);
    EXPECT_FALSE (crossover (2).isVisible());
    EXPECT_FALSE (display (3).isVisible());
    EXPECT_TRUE (display (2).hasSelectionMark());
}

// "S", "B" and power flip their parameter and select their band; so does a
// click anywhere else in the band.
TEST_F (OverlayGestureTest, ClicksInABandSelectIt)
{
    useCrossovers ({ 250.0f, 1000.0f, 2500.0f });
    auto& controls = display (2).plotControls;

    // Off the level handle's hit band, the click reaches the band's click area.
    auto& level = display (2).gainSlider;
    const int levelY = juce::roundToInt (level.getHandleY());
    const juce::Point<int> awayFromLevel (level.getWidth() / 2, levelY > 150 ? levelY - 60 : levelY + 60);

    struct Case { juce::Component& target; juce::Point<int> point; juce::String parameter; };
    const Case cases[] = {
        { controls.soloButton, { 10, 10 }, ParameterIDs::solo (2) },
        { controls.activeButton, { 10, 10 }, ParameterIDs::active (2) },
        { controls.powerButton, { 10, 10 }, ParameterIDs::realActive (2) },
        { level, awayFromLevel, {} },
    };
    for (const auto& c : cases)
    {
        setPlain (processor, ParameterIDs::selectedBand, 0.0f);
        deliverMessages();
        const float before = c.parameter.isEmpty() ? 0.0f : getPlain (processor, c.parameter);

        mouse->click (c.target, c.point);
        deliverMessages();

        if (c.parameter.isNotEmpty())
        {
            EXPECT_EQ (getPlain (processor, c.parameter), 1.0f - before) << c.parameter;
        }
        EXPECT_EQ (selectedBand(), 2.0) << c.target.getComponentID();
        for (size_t b = 0; b < 6; ++b)
            EXPECT_EQ (display (b).hasSelectionMark(), b == 2) << b;
    }
}

TEST_F (OverlayGestureTest, ClickOnTheOnlyBandClearsTheMarkAndSelectsNothing)
{
    useCrossovers ({});
    ASSERT_TRUE (display (0).hasSelectionMark());
    ChangeCounter messages (display (0).gainSlider);

    mouse->click (display (0).selectButton, { 400, 150 });
    deliverMessages();

    EXPECT_FALSE (display (0).hasSelectionMark());
    EXPECT_EQ (messages.count, 0);
    EXPECT_EQ (selectedBand(), 0.0);
}

// Dragging crossover 1 above crossovers 2 and 3 carries them along, in order.
TEST_F (OverlayGestureTest, DraggedCrossoverPushesItsNeighbours)
{
    useCrossovers ({ 250.0f, 1000.0f, 2500.0f, 9000.0f });
    auto& slider = crossover (0).crossoverSlider;
    const int from = juce::roundToInt (slider.getHitReference());
    const int to = juce::roundToInt (slider.getPositionOfValue (5000.0));

    mouse->drag (slider, { from, 200 }, { to, 200 }, 30);
    deliverMessages (100);

    const auto f = activeFrequencies();
    ASSERT_EQ (f.size(), 4u);
    EXPECT_GT (f[0], 4000.0f);
    EXPECT_GE (f[1], f[0]);
    EXPECT_GE (f[2], f[1]);
    EXPECT_EQ (f[3], 9000.0f);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR (crossover (i).crossoverSlider.getValue(), f[i], 0.5) << i;

    // The band spans follow the handles.
    for (size_t b = 1; b < 4; ++b)
        EXPECT_EQ (display (b).gainSlider.getX(), (int) crossover (b - 1).getHandlePosition()) << b;
}
