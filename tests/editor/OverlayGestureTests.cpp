// The overlays' gestures end to end: the mouse through the window's peer, the
// window's change messages and processor calls, the records they leave.

#include "OverlayTestSupport.h"
#include "editor/BandEditor.h"
#include "editor/ResponseDisplay.h"

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

// A click in band b's "+" strip, also at its first and last marker positions,
// adds a crossover whose handle is drawn under the marker's centre and whose
// record sits between the band's two edges.
TEST_F (OverlayGesture, ClickInAddStripSplitsTheBandAtTheMarker)
{
    for (int band = 0, last = 0; band < 3; band += last, last = 1 - last)   // first, then last position
    {
        useCrossovers ({ 250.0f, 4000.0f });
        auto& strip = display (band).addCrossover;
        const int x = last ? strip.activeArea.getRight() - 1 : strip.activeArea.getX();
        mouse.click (strip, { x, 12 });
        deliverMessages();

        // Within a pixel, give or take the snapping to whole hertz (3 pixels apart near 30 Hz).
        const float markerCentre = (float) display (band).getLocalPoint (&strip, juce::Point<int> (x, 0)).x;
        const auto f = frequencies();
        ASSERT_EQ (f.size(), 3u) << band;
        EXPECT_NEAR (crossover (band).getHandlePosition(), markerCentre, f[(size_t) band] < 40.0f ? 1.5f : 1.0f) << band << last;
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

// A loaded preset selects the lowest band, also when it switches the selected band's power back on.
TEST_F (OverlayGesture, ALoadedPresetSelectsTheLowestBandWhateverItSwitches)
{
    for (const int powerClicks : { 2, 1 })
    {
        useCrossovers ({ 1000.0f });
        for (int i = 0; i < powerClicks; ++i)
            mouse.click (display (1).plotControls.powerButton, { 10, 10 });
        deliverMessages();
        ASSERT_TRUE (selectedBand() == 1.0 && getPlain (processor, ParameterIDs::realActive (1)) == (float) (powerClicks % 2 == 0));
        // As the list's popup does: "Load preset...", then factory entry 12.
        dynamic_cast<juce::ComboBox&> (*editor->presetBar.getChildComponent (2)).setSelectedId (powerClicks == 1 ? 12 : 1);
        deliverMessages (60);
        EXPECT_TRUE (getPlain (processor, ParameterIDs::selectedBand) == 0.0f && editor->bandEditors[0]->isVisible()
                     && display (0).hasSelectionMark() && ! display (1).hasSelectionMark()) << powerClicks;
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

// At +24 and -24 dB each band's level line is drawn inside the plot, and a
// drag started on it moves the level (no "+" strip takes it).
TEST_F (OverlayGesture, LevelLinesAtBothEndsAreDrawnAndGrabbed)
{
    for (const auto& layout : { std::vector<float> {}, { 250.0f, 4000.0f }, { 60.0f, 250.0f, 1000.0f, 4000.0f, 12000.0f } })
        for (size_t b = 0, high = 1; b <= layout.size(); b += 1 - high, high = 1 - high)   // +24, then -24 dB
        {
            const float dB = high ? 24.0f : -24.0f;
            useCrossovers (layout);
            setPlain (processor, ParameterIDs::compgain (b), juce::Decibels::decibelsToGain (dB));
            mouse.move (*editor, { 300, 450 });
            const auto plot = editor->createComponentSnapshot (editor->plotArea);
            const int x = display ((int) b).gainSlider.getBounds().getCentreX();
            int row = 0;   // the first row drawn across 31 columns in silver (not the purple glow)
            const auto litAcross = [&] (int y) { int n = 0; for (int dx = -15; dx <= 15; ++dx) n += plot.getPixelAt (x + dx, y).getGreen() > 60; return n == 31; };
            while (row < plot.getHeight() && ! litAcross (row))
                ++row;
            ASSERT_LT (row, plot.getHeight()) << layout.size() << " crossovers, band " << b << ", " << dB << " dB";

            mouse.drag (display ((int) b), { x, row }, { x, row + (int) dB * 2 }, 8);
            EXPECT_LT (std::abs (juce::Decibels::gainToDecibels (getPlain (processor, ParameterIDs::compgain (b)))), 23.7f) << b << ", " << dB;
            EXPECT_EQ (frequencies().size(), layout.size());
        }
}

// A click lands on the control drawn there: every column of "In" and "Out",
// whatever band 1 and a crossover near 20 Hz lay over them; with five
// crossovers the top of each band, where an older "+" strip may linger.
TEST_F (OverlayGesture, ClicksReachTheControlDrawnThere)
{
    for (const float lowest : { 20.0f, 25.0f, 50.0f, 250.0f })
    {
        useCrossovers ({ lowest, 4000.0f });
        for (auto* button : { &editor->responseDisplay->showInputButton, &editor->responseDisplay->showOutputButton })
            for (int x = 0; x < button->getWidth(); ++x)
            {
                const bool wasOn = button->getToggleState();
                mouse.click (*button, { x, 10 });
                ASSERT_NE (button->getToggleState(), wasOn) << lowest << " Hz, " << button->getButtonText() << ", column " << x;
            }
    }

    useCrossovers ({ 60.0f, 250.0f, 1000.0f, 12000.0f });
    mouse.click (display (2).addCrossover, { display (2).addCrossover.getWidth() / 2, 12 });
    deliverMessages();
    for (int b = 1; b < 6; ++b)
    {
        mouse.click (display (b), { display (b).gainSlider.getBounds().getCentreX(), 15 });
        deliverMessages();
        EXPECT_EQ (selectedBand(), (double) b) << frequencies().size() << " crossovers";
    }
}

// At 20 Hz and 20 kHz the frequency label is drawn whole inside the plot and
// clear of "In", "Out" and the bands' switches.
TEST_F (OverlayGesture, CrossoverLabelsAtThePlotEndsStayWholeAndClear)
{
    useCrossovers ({ 20.0f, 20000.0f });
    std::vector<juce::Component*> controls { &editor->responseDisplay->showInputButton, &editor->responseDisplay->showOutputButton };
    for (int b = 0; b < 3; ++b)
        controls.insert (controls.end(), display (b).plotControls.getChildren().begin(), display (b).plotControls.getChildren().end());

    for (auto* e : { &crossover (0), &crossover (1) })
    {
        const auto image = e->createComponentSnapshot (e->getLocalBounds());
        juce::Rectangle<int> label;
        for (int y = 0; y < CrossoverSlider::deadRow; ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (std::abs ((float) x - e->getHandlePosition()) > 3.0f && image.getPixelAt (x, y).getAlpha() > 100)
                    label = label.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : label.getUnion ({ x, y, 1, 1 });
        EXPECT_TRUE (label.getWidth() > 25 && label.getX() > 0 && label.getRight() < image.getWidth()) << label.toString();
        for (auto* c : controls)
            EXPECT_FALSE (label.intersects (e->getLocalArea (c->getParentComponent(), c->getBounds()))) << label.toString();
    }
}
