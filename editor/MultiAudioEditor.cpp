#include "editor/MultiAudioEditor.h"

#include "editor/AddCrossover.h"
#include "editor/BandDisplay.h"
#include "editor/BandEditor.h"
#include "editor/ContextPopupMenu.h"
#include "editor/CrossoverEditor.h"
#include "editor/OutputControls.h"
#include "editor/PlotControls.h"
#include "editor/ResponseDisplay.h"

namespace
{
    constexpr int viewButtonsGroup = 1009;

    void setSelectionMark (GainSlider& slider, bool selected)
    {
        slider.lookAndFeel.selected = selected;
        slider.repaint();
    }
}

MultiAudioEditor::MultiAudioEditor (MultiAudioProcessor& p)
    : juce::AudioProcessorEditor (p),
      audioProcessor (p),
      responseDisplay (std::make_unique<ResponseDisplay> (p)),
      presetBar (p.apvts, p.abStateHolder, p.presetsHolder),
      outputControls (std::make_unique<OutputControls> (p)),
      contextPopupMenu (std::make_unique<ContextPopupMenu>())
{
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;

    setLookAndFeel (&editorLookAndFeel);
    tooltipWindow->setMillisecondsBeforeTipAppears (1000);

    addAndMakeVisible (*responseDisplay);

    const auto records = audioProcessor.readRecords();
    for (size_t i = 0; i < records.crossovers.size(); ++i)
    {
        auto* editor = crossoverEditors.add (new CrossoverEditor (i, audioProcessor));
        editor->crossoverSlider.addListener (this);
        editor->removeButton.addListener (this);
        addAndMakeVisible (editor);
    }

    for (size_t b = 0; b < records.bands.size(); ++b)
    {
        auto* display = bandDisplays.add (new BandDisplay (b, audioProcessor, crossoverEditors));
        display->gainSlider.addChangeListener (this);
        display->addCrossover.addChangeListener (this);
        addChildComponent (display);
    }

    // "In" and "Out" stand in front of the overlays, which the layout sends to the back.
    responseDisplay->showSwitchesIn (*this);

    addAndMakeVisible (bandSelector);
    sliderAttachments.add (new SliderAttachment (audioProcessor.apvts, ParameterIDs::selectedBand, bandSelector));
    bandSelector.addListener (this);

    for (size_t b = 0; b < records.bands.size(); ++b)
        addChildComponent (bandEditors.add (new BandEditor (b, audioProcessor)));

    // A click in a band's span or on its switches may change its mark (see buttonClicked).
    for (auto* display : bandDisplays)
        for (auto* button : std::initializer_list<juce::Button*> { &display->selectButton, &display->plotControls.soloButton,
                                                                   &display->plotControls.activeButton, &display->plotControls.powerButton })
            button->addListener (this);

    markSelectedBand();
    bandEditors[getSelectedBandIndex()]->setVisible (true);

    presetBar.reloadPresetsIfChanged();
    addAndMakeVisible (presetBar);
    presetBar.addChangeListener (this);

    addAndMakeVisible (numCrossoversSlider);
    sliderAttachments.add (new SliderAttachment (audioProcessor.apvts, ParameterIDs::numCrossovers, numCrossoversSlider));
    numCrossoversSlider.addListener (this);

    addChildComponent (*outputControls);

    bandButton.setButtonText ("BAND");
    bandButton.setClickingTogglesState (true);
    addAndMakeVisible (bandButton);
    bandButton.addListener (this);
    bandButton.setRadioGroupId (viewButtonsGroup);
    bandButton.setToggleState (true, juce::sendNotification);

    outputButton.setButtonText ("OUTPUT");
    outputButton.setClickingTogglesState (true);
    addAndMakeVisible (outputButton);
    outputButton.addListener (this);
    outputButton.setRadioGroupId (viewButtonsGroup);

    bandButton.toFront (false);
    outputButton.toFront (false);

    setSize (950, 525);
}

MultiAudioEditor::~MultiAudioEditor()
{
    setLookAndFeel (nullptr);
    // The attachments go before the sliders they bind.
    sliderAttachments.clear();
}

void MultiAudioEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void MultiAudioEditor::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    const int barHeight = juce::jmin (h, 30);
    presetBar.setBounds (0, 0, w, barHeight);

    const int plotHeight = juce::jmin (h - barHeight, (17 * h) / 32);
    plotArea = { 0, barHeight, w, plotHeight };

    const int rowY = barHeight + plotHeight;
    const int rowHeight = juce::jmin ((15 * h) / 32, h - barHeight - plotHeight);
    int x = 0, rowWidth = w;
    for (auto* editor : bandEditors)
    {
        if (! editor->isVisible())
            continue;
        editor->setBounds (x, rowY, rowWidth, rowHeight);
        x += rowWidth;
        rowWidth = 0;
    }
    if (outputControls->isVisible())
        outputControls->setBounds (x, rowY, rowWidth, rowHeight);

    const auto records = audioProcessor.readRecords();
    for (auto* editor : crossoverEditors)
        editor->setBounds (plotArea);
    for (int i = 0; i < crossoverEditors.size(); ++i)
    {
        auto* editor = crossoverEditors[i];
        const bool active = (size_t) i < records.crossovers.size() && records.crossovers[(size_t) i].active;
        editor->setVisible (active);
        if (active)
        {
            editor->setBounds (plotArea);
            editor->toBack();
        }
    }
    for (int b = 0; b < bandDisplays.size(); ++b)
    {
        auto* display = bandDisplays[b];
        const bool enabled = (size_t) b < records.bands.size() && records.bands[(size_t) b].enabled;
        display->setVisible (enabled);
        if (enabled)
        {
            display->setBounds (plotArea);
            display->toBack();
        }
    }

    bandButton.setBounds (w - 130, rowY + 10, 50, 25);
    outputButton.setBounds (bandButton.getRight(), rowY + 10, 70, 25);

    responseDisplay->setBounds (plotArea);
    responseDisplay->toBack();
    keepCrossoverLabelsClear();
}

void MultiAudioEditor::keepCrossoverLabelsClear()
{
    // Labels stay off "In" and "Out", and one drawn left of its line (near the
    // plot's right end) goes below the switches of the band left of the line.
    for (auto* editor : crossoverEditors)
    {
        auto& look = editor->crossoverSlider.lookAndFeel;
        look.labelKeepOut = responseDisplay->getSwitchesArea (editor->crossoverSlider);
        look.labelKeepOutLeftOfLine = { -PlotControls::columnWidth, 0, PlotControls::columnWidth, PlotControls::columnHeight };
        editor->crossoverSlider.repaint();
    }
}

float MultiAudioEditor::proportionUnderMarker (const BandDisplay& display)
{
    // The marker's centre, mapped back through a crossover slider's own
    // position-to-value mapping, so the new handle is drawn under it.
    const auto& marker = display.addCrossover.addButton;
    auto& slider = crossoverEditors.getFirst()->crossoverSlider;
    const auto centre = slider.getLocalPoint (&marker, juce::Point<float> ((float) marker.getWidth() * 0.5f, 0.0f));
    return (float) slider.getProportionAtPosition (centre.x);
}

int MultiAudioEditor::getSelectedBandIndex() const
{
    const auto lastBand = juce::jmin (bandEditors.size() - 1, static_cast<int> (audioProcessor.readRecords().crossoverCount));
    return juce::jlimit (0, juce::jmax (0, lastBand), static_cast<int> (bandSelector.getValue()));
}

bool MultiAudioEditor::isOutputViewShown() const
{
    return outputButton.getToggleState();
}

void MultiAudioEditor::switchToBandView()
{
    bandButton.setToggleState (true, juce::sendNotification);
}

void MultiAudioEditor::markSelectedBand()
{
    const auto selected = getSelectedBandIndex();
    for (auto* display : bandDisplays)
        setSelectionMark (display->gainSlider, static_cast<int> (display->bandIndex) == selected);
}

void MultiAudioEditor::limitSelectionToBands (const MultiAudioProcessor::RecordsSnapshot& records,
                                              double wanted, bool updateCrossoverCount)
{
    const auto count = static_cast<double> (records.crossoverCount);
    bandSelector.setValue (juce::jmin (wanted, count), juce::sendNotificationAsync);
    if (updateCrossoverCount)
        numCrossoversSlider.setValue (count, juce::sendNotificationAsync);
}

void MultiAudioEditor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    // The bar's actions (A/B, "Keep", a preset, saving) keep the view the user chose.
    if (source == &presetBar)
    {
        const auto selected = bandSelector.getValue();
        limitSelectionToBands (audioProcessor.readRecords(), selected, false);
        refreshBandComponents();
        return;
    }

    for (auto* display : bandDisplays)
    {
        const auto band = static_cast<int> (display->bandIndex);

        if (source == &display->addCrossover)
        {
            audioProcessor.setCrossoverActive (band, true, proportionUnderMarker (*display));

            const auto selected = bandSelector.getValue();
            switchToBandView();
            limitSelectionToBands (audioProcessor.readRecords(), selected, true);
        }

        if (source == &display->gainSlider)
        {
            switchToBandView();
            limitSelectionToBands (audioProcessor.readRecords(), static_cast<double> (band), false);
        }
    }
}

void MultiAudioEditor::sliderValueChanged (juce::Slider* slider)
{
    if (slider == &numCrossoversSlider)
    {
        refreshBandComponents();
        deferredRefresh.triggerAsyncUpdate();
    }

    if (slider == &bandSelector)
    {
        markSelectedBand();
        refreshBandComponents();
    }

    if (slider->getComponentID().startsWith ("crossover"))
    {
        const int n = getBandIndexFromParameterID (slider->getComponentID());
        const auto value = slider->getValue();
        const auto records = audioProcessor.readRecords();

        if (n >= 0 && static_cast<size_t> (n) < records.crossoverCount)
        {
            if (n + 1 <= 4 && n + 1 < crossoverEditors.size()
                && value >= crossoverEditors[n + 1]->crossoverSlider.getValue())
                crossoverEditors[n + 1]->crossoverSlider.setValue (value, juce::sendNotificationAsync);

            if (n >= 1 && n <= 4 && n - 1 < crossoverEditors.size()
                && value <= crossoverEditors[n - 1]->crossoverSlider.getValue())
                crossoverEditors[n - 1]->crossoverSlider.setValue (value, juce::sendNotificationAsync);
        }

        for (int b = 0; b < bandDisplays.size(); ++b)
            if ((size_t) b < records.bands.size() && records.bands[(size_t) b].enabled)
                bandDisplays[b]->resized();
    }
}

void MultiAudioEditor::buttonClicked (juce::Button* button)
{
    if (button->getComponentID().startsWith ("remove"))
    {
        const int n = getBandIndexFromParameterID (button->getComponentID());
        if (n >= 0 && n <= crossoverEditors.size() - 1)
            audioProcessor.setCrossoverActive (n, false, 0.0f);

        const auto selected = bandSelector.getValue();
        switchToBandView();
        limitSelectionToBands (audioProcessor.readRecords(), selected, true);
    }

    if (button == &outputButton)
    {
        for (auto* editor : bandEditors)
            editor->setVisible (false);
        outputControls->setVisible (true);
        resized();
        repaint();
    }

    if (button == &bandButton)
    {
        bandEditors[getSelectedBandIndex()]->setVisible (true);
        outputControls->setVisible (false);
        resized();
    }

    // A band display handles its own clicks after this and, with a single band,
    // clears that band's mark; the mark is put back once it has.
    for (auto* display : bandDisplays)
        if (display->isParentOf (button))
            deferredRefresh.triggerAsyncUpdate();
}

void MultiAudioEditor::refreshBandComponents()
{
    const int selected = getSelectedBandIndex();
    markSelectedBand();

    // The view the user chose stays: in the output view the band editors stay
    // hidden and the selection only decides which one "BAND" will show.
    if (isOutputViewShown())
    {
        for (auto* editor : bandEditors)
            editor->setVisible (false);
    }
    else if (! bandEditors[selected]->isVisible())
    {
        for (auto* editor : bandEditors)
            editor->setVisible (false);
        bandEditors[selected]->setVisible (true);
    }

    const auto records = audioProcessor.readRecords();
    for (int i = 0; i < crossoverEditors.size(); ++i)
    {
        auto* editor = crossoverEditors[i];
        const bool active = (size_t) i < records.crossovers.size() && records.crossovers[(size_t) i].active;
        editor->setVisible (active);
        if (active)
            editor->resized();
    }
    for (int b = 0; b < bandDisplays.size(); ++b)
    {
        auto* display = bandDisplays[b];
        const bool enabled = (size_t) b < records.bands.size() && records.bands[(size_t) b].enabled;
        display->setVisible (enabled);
        if (enabled)
            display->resized();
    }

    resized();
}
