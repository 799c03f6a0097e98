// The plot's edges and corners in the open window: level lines at the ends of
// their range, "In" and "Out" under the overlays, the "+" marker near the
// plot's ends and the crossover labels there. The mouse goes through the
// window's peer; what is drawn is read from snapshots.

#include "OverlayTestSupport.h"

#include "editor/ResponseDisplay.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace overlay_test;

namespace
{
    const auto plus24dB = std::pow (10.0f, 1.2f);   // as gains
    const auto minus24dB = std::pow (10.0f, -1.2f);

    struct PlotReach : ::testing::Test, windowtest::OpenWindow
    {
        void useCrossovers (std::vector<float> frequencies)
        {
            setPlain (processor, ParameterIDs::numCrossovers, (float) frequencies.size());
            for (size_t i = 0; i < frequencies.size(); ++i)
                setPlain (processor, ParameterIDs::frequencyCrossover (i), frequencies[i]);
            deliverMessages();
        }

        MultiAudioEditor::BandDisplay& display (int b) { return *editor->bandDisplays[b]; }
        MultiAudioEditor::CrossoverEditor& crossover (int i) { return *editor->crossoverEditors[i]; }
        int crossoverCount() { return (int) processor.readRecords().crossoverCount; }

        /** The plot as drawn, in plot pixels, with the mouse away from it. */
        juce::Image plotSnapshot()
        {
            mouse.move (*editor, { 300, 450 });
            deliverMessages();
            return editor->createComponentSnapshot (editor->plotArea);
        }

        DesktopMouse mouse { *editor };
    };

    bool isLit (juce::Colour c) { return c.getRed() >= 60 && c.getGreen() >= 60; }   // silver or green-yellow, not the purple glow
}

// At +24 dB and -24 dB the level line is drawn inside the plot, in front of
// the "+" strip's reach, and a drag started on it moves the level.
TEST_F (PlotReach, LevelLineAtEitherEndIsDrawnInsideThePlotAndGrabbed)
{
    const std::vector<float> layouts[] = { {}, { 250.0f, 4000.0f }, { 60.0f, 250.0f, 1000.0f, 4000.0f, 12000.0f } };
    for (const auto& layout : layouts)
        for (const auto level : { plus24dB, minus24dB })
        {
            useCrossovers (layout);
            for (size_t b = 0; b <= layout.size(); ++b)
                setPlain (processor, ParameterIDs::compgain (b), level);
            deliverMessages();
            const auto plot = plotSnapshot();

            for (int b = 0; b <= (int) layout.size(); ++b)
            {
                const auto where = juce::String (layout.size()) + " crossovers, band " + juce::String (b) + ", gain " + juce::String (level);
                auto& handle = display (b).gainSlider;
                const int left = handle.getX(), right = handle.getRight();

                int lineRow = -1;
                for (int y = 0; y < plot.getHeight() && lineRow < 0; ++y)
                {
                    int lit = 0;
                    for (int x = left + 35; x < right - 35; ++x)
                        lit += isLit (plot.getPixelAt (x, y)) ? 1 : 0;
                    if (lit >= (right - left - 70) * 9 / 10)
                        lineRow = y;
                }
                ASSERT_GE (lineRow, 0) << where << ": no level line in the plot";
                EXPECT_NEAR (lineRow, handle.getY() + handle.getHandleY(), 1.5) << where;

                const int towardsMiddle = lineRow < 100 ? 40 : -40;
                mouse.drag (display (b), { (left + right) / 2, lineRow }, { (left + right) / 2, lineRow + towardsMiddle }, 8);
                deliverMessages();
                const float after = getPlain (processor, ParameterIDs::compgain ((size_t) b));
                EXPECT_TRUE (towardsMiddle > 0 ? after < level * 0.9f : after > level * 1.05f) << where << ": now " << after;
                EXPECT_EQ (crossoverCount(), (int) layout.size()) << where;
            }
        }
}

// Whatever lies over the plot's corner, every column of "In" and "Out" takes
// its own click: with the lowest crossover at 20 Hz band 1's span, handle hit
// window and "+" strip reach over them, at 25 Hz its switches, at 50 Hz and
// 250 Hz the "+" strip of band 1.
TEST_F (PlotReach, InAndOutTakeEveryClickOverTheOverlays)
{
    auto& response = *editor->responseDisplay;
    for (const float lowest : { 20.0f, 25.0f, 50.0f, 250.0f })
    {
        useCrossovers ({ lowest, 4000.0f });
        for (auto* button : { &response.showInputButton, &response.showOutputButton })
            for (int x = 0; x < button->getWidth(); ++x)
            {
                const bool before = button->getToggleState();
                mouse.click (*button, { x, button->getHeight() / 2 });
                ASSERT_NE (button->getToggleState(), before) << lowest << " Hz, " << button->getButtonText() << ", column " << x;
            }

        deliverMessages();
        EXPECT_EQ (crossoverCount(), 2) << lowest;
        EXPECT_EQ (editor->bandSelector.getValue(), 0.0) << lowest;
        for (size_t b = 0; b < 3; ++b)
            for (const auto& id : { ParameterIDs::realActive (b), ParameterIDs::active (b), ParameterIDs::solo (b) })
                EXPECT_EQ (getPlain (processor, id), id.startsWith ("solo") ? 0.0f : 1.0f) << lowest << " Hz, " << id;
    }
}

// With five crossovers no "+" strip takes clicks, not even one that kept its
// place from before the fifth crossover came: the top of each band does what
// the band's own controls do (nothing for band 0, which leaves its top free).
TEST_F (PlotReach, TopOfEveryBandWithFiveCrossoversBelongsToThatBand)
{
    useCrossovers ({ 60.0f, 250.0f, 1000.0f, 12000.0f });
    auto& strip = display (2).addCrossover;
    mouse.click (strip, { strip.getWidth() / 2, 12 });
    deliverMessages();
    ASSERT_EQ (crossoverCount(), 5);

    for (int b = 0; b < 6; ++b)
    {
        const double before = b == 0 ? 3.0 : 0.0;
        setPlain (processor, ParameterIDs::selectedBand, (float) before);
        deliverMessages();

        auto& level = display (b).gainSlider;
        mouse.click (display (b), { (level.getX() + level.getRight()) / 2, 15 });
        deliverMessages();

        EXPECT_EQ (editor->bandSelector.getValue(), b == 0 ? before : (double) b) << "band " << b;
        EXPECT_EQ (crossoverCount(), 5) << "band " << b;
    }
}

// A new crossover's handle is drawn under the "+" marker's centre, also at the
// first and last marker positions of the lowest and the top band; where the
// frequency's snapping to whole steps allows no closer handle, it takes the
// nearest one.
TEST_F (PlotReach, NewCrossoverLiesUnderTheMarkerAtTheEndsOfTheBands)
{
    const auto range = processor.apvts.getParameterRange (ParameterIDs::frequencyCrossover (0));
    struct Case { int band; bool first; };
    for (const auto c : { Case { 0, true }, Case { 0, false }, Case { 2, true }, Case { 2, false } })
    {
        useCrossovers ({ 250.0f, 4000.0f });
        auto& strip = display (c.band).addCrossover;
        const int x = c.first ? strip.activeArea.getX() : strip.activeArea.getRight() - 1;
        const float marker = (float) crossover (0).getLocalPoint (&strip, juce::Point<int> (x, 0)).x;

        mouse.click (strip, { x, 12 });
        deliverMessages();
        ASSERT_EQ (crossoverCount(), 3) << c.band << " " << c.first;

        auto& slider = crossover (c.band).crossoverSlider;
        const auto f = (float) slider.getValue();
        const auto error = std::abs (slider.getPositionOfValue (f) - marker);
        const auto where = juce::String (c.band) + (c.first ? " first, " : " last, ") + juce::String (f) + " Hz";
        EXPECT_LT (error, 1.5f) << where;
        for (const float step : { -1.0f, 1.0f })
        {
            if (error > 1.0f) { EXPECT_GT (std::abs (slider.getPositionOfValue (range.snapToLegalValue (f + step)) - marker), error) << where; }
        }
    }
}

// The frequency label at 20 Hz and at 20 kHz: drawn whole inside the plot,
// never over "In", "Out" or a band's switches.
TEST_F (PlotReach, CrossoverLabelsStayWholeAndClearOfTheSwitches)
{
    const std::vector<float> layouts[] = { { 20.0f }, { 20000.0f }, { 20.0f, 20000.0f }, { 20.0f, 100.0f, 1000.0f, 5000.0f, 20000.0f } };
    for (const auto& layout : layouts)
    {
        useCrossovers (layout);
        plotSnapshot();
        for (int i = 0; i < (int) layout.size(); ++i)
        {
            auto& e = crossover (i);
            const auto where = juce::String (layout.size()) + " crossovers, crossover " + juce::String (i);
            const auto image = e.createComponentSnapshot (e.getLocalBounds());
            const float kx = e.getHandlePosition();

            juce::RectangleList<int> keepOut;
            std::vector<juce::Component*> switches { &editor->responseDisplay->showInputButton, &editor->responseDisplay->showOutputButton };
            for (int b = 0; b <= (int) layout.size(); ++b)
                for (auto* button : display (b).plotControls.getChildren())
                    switches.push_back (button);
            for (auto* button : switches)
                keepOut.add (e.getLocalArea (button->getParentComponent(), button->getBounds()));

            juce::Rectangle<int> label;
            int pixels = 0, covered = 0;
            for (int y = 0; y < CrossoverSlider::deadRow; ++y)
                for (int x = 0; x < image.getWidth(); ++x)
                    if (std::abs ((float) x - kx) > 3.0f && image.getPixelAt (x, y).getAlpha() > 100)
                    {
                        ++pixels;
                        covered += keepOut.containsPoint ({ x, y }) ? 1 : 0;
                        label = label.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : label.getUnion ({ x, y, 1, 1 });
                    }

            EXPECT_GT (pixels, 40) << where;
            EXPECT_EQ (covered, 0) << where << ", label " << label.toString();
            EXPECT_TRUE (label.getX() > 0 && label.getRight() < image.getWidth()) << where << ", label " << label.toString();
            EXPECT_GT (label.getWidth(), 25) << where;
        }
    }
}
