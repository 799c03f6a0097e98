#include "OverlayTestSupport.h"

#include "editor/BandDisplay.h"
#include "editor/BandEditor.h"
#include "editor/CrossoverEditor.h"
#include "editor/OutputControls.h"
#include "editor/ResponseDisplay.h"

#include <atomic>
#include <thread>

using windowtest::OpenWindow;
using Bounds = juce::Rectangle<int>;

namespace
{
    int visibleBandEditor (const MultiAudioEditor& editor)
    {
        int shown = -1;
        for (int b = 0; b < editor.bandEditors.size(); ++b)
            if (editor.bandEditors[b]->isVisible())
            {
                EXPECT_EQ (shown, -1) << "two band editors visible";
                shown = b;
            }
        return shown;
    }
}

TEST (Window, LaysOutBarPlotAndBottomRowAt950x525)
{
    OpenWindow window;
    auto& editor = *window.editor;
    ASSERT_EQ (editor.getBounds().getWidth(), 950);
    ASSERT_EQ (editor.getHeight(), 525);

    EXPECT_EQ (editor.presetBar.getBounds(), Bounds (0, 0, 950, 30));
    EXPECT_EQ (editor.plotArea, Bounds (0, 30, 950, 278));
    EXPECT_EQ (editor.responseDisplay->getBounds(), editor.plotArea);
    EXPECT_EQ (editor.bandEditors[visibleBandEditor (editor)]->getBounds(), Bounds (0, 308, 950, 217));
    EXPECT_EQ (editor.bandButton.getBounds(), Bounds (820, 318, 50, 25));
    EXPECT_EQ (editor.outputButton.getBounds(), Bounds (870, 318, 70, 25));
    EXPECT_TRUE (editor.numCrossoversSlider.getBounds().isEmpty());
    EXPECT_TRUE (editor.bandSelector.getBounds().isEmpty());

    window.clickCentre (editor.outputButton);
    EXPECT_EQ (editor.outputControls->getBounds(), Bounds (0, 308, 950, 217));

    // A window lower than the preset bar gives the bar everything.
    editor.setSize (950, 20);
    EXPECT_EQ (editor.presetBar.getBounds(), Bounds (0, 0, 950, 20));
    EXPECT_EQ (editor.plotArea.getHeight(), 0);
    EXPECT_EQ (editor.outputControls->getHeight(), 0);
}

TEST (Window, OutputControlsLayoutAt950x217)
{
    OpenWindow window;
    auto& panel = *window.editor->outputControls;
    panel.setBounds (0, 0, 950, 217);

    const std::pair<juce::Component*, Bounds> expected[] = {
        { &panel.titleLabel,   { 0, 0, 950, 25 } },
        { &panel.dryWetLabel,  { 237, 197, 237, 20 } },
        { &panel.gainLabel,    { 474, 197, 237, 20 } },
        { &panel.dryWetKnob,   { 237, 42, 237, 155 } },
        { &panel.gainKnob,     { 474, 42, 237, 155 } },
        { &panel.bypassButton, { 796, 102, 67, 25 } },
        { &panel.logoButton,   { 20, -10, 140, 140 } },
        { &panel.productLabel, { 80, 85, 100, 20 } },
    };
    for (const auto& [component, bounds] : expected)
        EXPECT_EQ (component->getBounds(), bounds) << component->getName();

    panel.setBounds (0, 0, 950, 10); // lower than the heading: nothing grows out of the panel
    for (auto* child : panel.getChildren())
        EXPECT_GE (child->getHeight(), 0);
}

// Beyond the bands that exist, the last is shown and marked: set before opening or by the host.
TEST (Window, OpensInBandViewOnTheSelectedBandAndSwitchesViews)
{
    const struct { int crossovers, selected, shown; bool byHost; } cases[] = {
        { 5, 0, 0, false }, { 5, 3, 3, false }, { 5, 6, 5, false }, { 2, 6, 2, false }, { 2, 6, 2, true }, { 0, 4, 0, true } };
    for (const auto& [crossovers, selected, shown, byHost] : cases)
    {
        const auto select = [crossovers = crossovers, selected = selected] (MultiAudioProcessor& p)
        { windowtest::setPlain (p, "numCrossovers", (float) crossovers), windowtest::setPlain (p, "selectedBand", (float) selected); };
        OpenWindow window (byHost ? std::function<void (MultiAudioProcessor&)>() : select);
        auto& editor = *window.editor;
        if (byHost)
            select (window.processor), windowtest::pumpMessages();

        EXPECT_TRUE (editor.bandButton.getToggleState());
        EXPECT_FALSE (editor.outputControls->isVisible());
        EXPECT_EQ (visibleBandEditor (editor), shown) << "selectedBand " << selected;
        for (auto* display : editor.bandDisplays)
            EXPECT_EQ (display->gainSlider.lookAndFeel.selected, (int) display->bandIndex == shown) << selected;

        window.clickCentre (editor.outputButton);
        EXPECT_TRUE (editor.outputButton.getToggleState());
        EXPECT_FALSE (editor.bandButton.getToggleState());
        EXPECT_TRUE (editor.outputControls->isVisible());
        EXPECT_EQ (visibleBandEditor (editor), -1);

        window.clickCentre (editor.bandButton);
        EXPECT_FALSE (editor.outputControls->isVisible());
        EXPECT_EQ (visibleBandEditor (editor), shown);
    }
}

TEST (Window, HostChangesKeepTheOutputView)
{
    OpenWindow window;
    auto& editor = *window.editor;
    window.clickCentre (editor.outputButton);

    windowtest::setPlain (window.processor, "numCrossovers", 2.0f);
    windowtest::pumpMessages();
    windowtest::setPlain (window.processor, "selectedBand", 2.0f);
    windowtest::pumpMessages();

    EXPECT_TRUE (editor.outputButton.getToggleState());
    EXPECT_EQ (visibleBandEditor (editor), -1);
    EXPECT_EQ (editor.outputControls->getBounds(), Bounds (0, 308, 950, 217));

    // The selection followed meanwhile: "BAND" shows the band now selected.
    window.clickCentre (editor.bandButton);
    EXPECT_EQ (visibleBandEditor (editor), 2);
}

TEST (Window, OverlaysFollowTheCrossoverCount)
{
    OpenWindow window;
    auto& editor = *window.editor;
    for (int count : { 0, 3, 5, 1 })
    {
        windowtest::setPlain (window.processor, "numCrossovers", (float) count);
        windowtest::pumpMessages();
        for (int i = 0; i < editor.crossoverEditors.size(); ++i)
        {
            EXPECT_EQ (editor.crossoverEditors[i]->isVisible(), i < count) << count << " crossovers, editor " << i;
            EXPECT_EQ (editor.crossoverEditors[i]->getBounds(), editor.plotArea);
        }
        for (int b = 0; b < editor.bandDisplays.size(); ++b)
            EXPECT_EQ (editor.bandDisplays[b]->isVisible(), b <= count) << count << " crossovers, band " << b;
    }
}

// The bar's actions, "Keep", "A/B" (back to what "Keep" stored) and "Save preset" with
// "Cancel", limit the selection to the bands that exist and keep the output view.
TEST (Window, PresetBarMessageLimitsTheSelectionAndKeepsTheView)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { windowtest::setPlain (p, "selectedBand", 4.0f); });
    auto& editor = *window.editor;
    window.clickCentre (editor.outputButton);

    windowtest::setPlain (window.processor, "numCrossovers", 1.0f);
    for (int child : { 1, 0, 3 })
    {
        window.clickCentre (*editor.presetBar.getChildComponent (child));
        if (auto* dialog = juce::Component::getCurrentlyModalComponent())   // the save dialog: its last button is "Cancel"
            overlay_test::DesktopMouse (*dialog).click (*dialog->getChildren().getLast(), { 10, 10 });
        windowtest::pumpMessages (60);

        EXPECT_TRUE (editor.outputButton.getToggleState() && visibleBandEditor (editor) == -1) << child;
        EXPECT_EQ (windowtest::getPlain (window.processor, "selectedBand"), 1.0f);
    }
    EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr);
    window.clickCentre (editor.bandButton);
    EXPECT_EQ (visibleBandEditor (editor), 1);
}

TEST (Window, FollowsAHostThreadMovingTheCrossovers)
{
    OpenWindow window;
    auto& editor = *window.editor;
    auto& apvts = window.processor.apvts;

    // A host moving the crossovers at about a thousand changes a second,
    // while the window follows on the message thread.
    std::atomic<bool> done { false };
    std::thread host ([&]
    {
        for (int round = 0; round < 300; ++round)
        {
            auto* count = apvts.getParameter ("numCrossovers");
            count->setValueNotifyingHost (count->convertTo0to1 ((float) (round % 6)));
            auto* frequency = apvts.getParameter (ParameterIDs::frequencyCrossover ((size_t) (round % 5)));
            frequency->setValueNotifyingHost ((float) ((round * 37) % 100) / 100.0f);
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
        done = true;
    });
    while (! done.load())
    {
        windowtest::pumpMessages (5);
        editor.refreshBandComponents();
    }
    host.join();
    windowtest::pumpMessages (60);

    const auto records = window.processor.readRecords();
    for (int i = 0; i < editor.crossoverEditors.size(); ++i)
        EXPECT_EQ (editor.crossoverEditors[i]->isVisible(), records.crossovers[(size_t) i].active) << i;
    for (int b = 0; b < editor.bandDisplays.size(); ++b)
        EXPECT_EQ (editor.bandDisplays[b]->isVisible(), records.bands[(size_t) b].enabled) << b;
}
