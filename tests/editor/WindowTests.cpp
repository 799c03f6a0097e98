#include "WindowTestSupport.h"

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

TEST (Window, OpensInBandViewOnTheSelectedBandAndSwitchesViews)
{
    for (const auto& [selected, shown] : { std::pair { 0, 0 }, { 3, 3 }, { 6, 5 } })
    {
        OpenWindow window ([selected = selected] (MultiAudioProcessor& p) { windowtest::setPlain (p, "selectedBand", (float) selected); });
        auto& editor = *window.editor;

        EXPECT_TRUE (editor.bandButton.getToggleState());
        EXPECT_FALSE (editor.outputControls->isVisible());
        EXPECT_EQ (visibleBandEditor (editor), shown) << "selectedBand " << selected;
        for (auto* display : editor.bandDisplays)
            EXPECT_EQ (display->gainSlider.lookAndFeel.selected, (int) display->bandIndex == shown);

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

TEST (Window, PresetBarMessageLimitsTheSelectionAndKeepsTheView)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { windowtest::setPlain (p, "selectedBand", 4.0f); });
    auto& editor = *window.editor;
    window.clickCentre (editor.outputButton);

    windowtest::setPlain (window.processor, "numCrossovers", 1.0f);
    editor.presetBar.sendChangeMessage();
    windowtest::pumpMessages (60);

    EXPECT_TRUE (editor.outputButton.getToggleState());
    EXPECT_EQ (windowtest::getPlain (window.processor, "selectedBand"), 1.0f);
    EXPECT_EQ (visibleBandEditor (editor), -1);
    window.clickCentre (editor.bandButton);
    EXPECT_EQ (visibleBandEditor (editor), 1);
}

// "selectedBand" beyond the bands that exist shows and marks the last band,
// whether it was set before the window opened (a state, the command line) or
// by the host while the window is open.
TEST (Window, ShowsAndMarksOnlyABandThatExists)
{
    const struct { int crossovers, selected, shown; } cases[] = { { 2, 6, 2 }, { 2, 1, 1 }, { 0, 4, 0 }, { 5, 6, 5 } };
    for (const auto& c : cases)
        for (bool whileOpen : { false, true })
        {
            const auto select = [&c] (MultiAudioProcessor& p)
            {
                windowtest::setPlain (p, "numCrossovers", (float) c.crossovers);
                windowtest::setPlain (p, "selectedBand", (float) c.selected);
            };
            OpenWindow window (whileOpen ? std::function<void (MultiAudioProcessor&)>() : select);
            auto& editor = *window.editor;
            if (whileOpen)
                select (window.processor), windowtest::pumpMessages();

            const auto context = juce::String (c.crossovers) + " crossovers, selectedBand " + juce::String (c.selected) + (whileOpen ? " from the host" : "");
            EXPECT_EQ (visibleBandEditor (editor), c.shown) << context;
            window.clickCentre (editor.outputButton);
            window.clickCentre (editor.bandButton);
            EXPECT_EQ (visibleBandEditor (editor), c.shown) << context;
            for (auto* display : editor.bandDisplays)
                EXPECT_EQ (display->hasSelectionMark(), (int) display->bandIndex == c.shown) << context << ", band " << display->bandIndex;
        }
}

// With no crossover a click in the plot leaves the one band marked, and it stays
// marked (as the selected band) once the plot is split.
TEST (Window, TheOnlyBandStaysMarked)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { windowtest::setPlain (p, "numCrossovers", 0.0f); });
    auto& editor = *window.editor;
    auto& band = *editor.bandDisplays[0];

    window.click (band.selectButton, { 400, 150 });
    windowtest::pumpMessages();
    EXPECT_TRUE (band.hasSelectionMark());

    window.click (band.addCrossover, { band.addCrossover.getWidth() / 3, 12 });
    windowtest::pumpMessages (60);
    ASSERT_EQ (window.processor.readRecords().crossoverCount, 1u);
    EXPECT_TRUE (band.hasSelectionMark());
    EXPECT_FALSE (editor.bandDisplays[1]->hasSelectionMark());
}

// The preset bar's actions change settings but not the view: in the output view
// "A/B", "Keep", "Save preset" with "Cancel", and a preset chosen from the list
// leave the output controls up.
TEST (Window, PresetBarActionsKeepTheOutputView)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { windowtest::setPlain (p, "numCrossovers", 2.0f); });
    auto& editor = *window.editor;
    const auto barChild = [&] (int index) -> juce::Component& { return *editor.presetBar.getChildComponent (index); };
    window.clickCentre (editor.outputButton);

    const std::pair<const char*, std::function<void()>> actions[] = {
        { "A/B",  [&] { window.clickCentre (barChild (0)); } },
        { "Keep", [&] { window.clickCentre (barChild (1)); } },
        { "Save preset, Cancel", [&]
          {
              window.clickCentre (barChild (3));
              auto* dialog = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());
              ASSERT_NE (dialog, nullptr);
              juce::Component* cancel = nullptr;
              for (auto* child : dialog->getChildren())
                  if (auto* button = dynamic_cast<juce::TextButton*> (child); button != nullptr && button->getButtonText() == "Cancel")
                      cancel = button;
              ASSERT_NE (cancel, nullptr);
              for (int modifiers : { (int) juce::ModifierKeys::leftButtonModifier, 0 })
                  dialog->getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, cancel->getBounds().getCentre().toFloat(),
                                                       juce::ModifierKeys (modifiers), 0.0f, 0.0f, juce::Time::currentTimeMillis());
              windowtest::pumpMessages();
              EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr);
          } },
        { "a preset", [&] { dynamic_cast<juce::ComboBox&> (barChild (2)).setSelectedId (9); windowtest::pumpMessages (60); } },
    };
    for (const auto& [name, act] : actions)
    {
        act();
        windowtest::pumpMessages();
        EXPECT_TRUE (editor.outputButton.getToggleState()) << name;
        EXPECT_TRUE (editor.outputControls->isVisible()) << name;
        EXPECT_EQ (visibleBandEditor (editor), -1) << name;
    }
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
