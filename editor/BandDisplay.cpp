#include "editor/BandDisplay.h"

#include "editor/CrossoverEditor.h"
#include "engine/ParameterIDs.h"

#include <algorithm>

namespace
{
    constexpr std::size_t maxCrossovers = 5;
}

MultiAudioEditor::BandDisplay::BandDisplay (std::size_t index, MultiAudioProcessor& p,
                                            juce::OwnedArray<CrossoverEditor>& editors)
    : bandIndex (index),
      processor (p),
      crossoverEditors (editors),
      plotControls (index, p),
      addCrossover (p)
{
    // Not buffered to an image, for the same reason as the crossover overlays.
    frame.setColour (juce::GroupComponent::outlineColourId, juce::Colour (0x00000000));
    addAndMakeVisible (frame);

    gainSlider.setSliderStyle (juce::Slider::LinearVertical);
    attachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (
        processor.apvts, ParameterIDs::compgain (bandIndex), gainSlider));
    gainSlider.setComponentID ("band-display-gain-" + overlayComponentNumber (bandIndex));
    addAndMakeVisible (gainSlider);

    addAndMakeVisible (plotControls);
    plotControls.soloButton.addListener (this);
    plotControls.activeButton.addListener (this);
    plotControls.powerButton.addListener (this);

    addAndMakeVisible (addCrossover);
    addCrossover.giveWayTo (gainSlider);

    selectButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0x00000000));
    selectButton.setColour (juce::ComboBox::outlineColourId, juce::Colour (0x00000000));
    addAndMakeVisible (selectButton);
    selectButton.addListener (this);

    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::BandDisplay::~BandDisplay()
{
    selectButton.removeListener (this);
    plotControls.powerButton.removeListener (this);
    plotControls.activeButton.removeListener (this);
    plotControls.soloButton.removeListener (this);
    attachments.clear();
}

std::pair<int, int> MultiAudioEditor::BandDisplay::findSpan (const MultiAudioProcessor::RecordsSnapshot& records) const
{
    const auto& crossovers = records.crossovers;
    const int b = (int) bandIndex;

    const bool hasLeft = b >= 1 && b <= (int) maxCrossovers
                         && std::any_of (crossovers.begin(), crossovers.end(),
                                         [b] (const CrossoverRecord& c) { return c.index == b - 1; });

    int rightRank = -1;
    if (b < (int) maxCrossovers)
    {
        const auto next = std::find_if (crossovers.begin(), crossovers.end(),
                                        [b] (const CrossoverRecord& c) { return c.active && c.index >= b; });
        if (next != crossovers.end())
            rightRank = next->index;
    }
    const bool hasRight = rightRank >= 0 && bandIndex < records.crossoverCount;

    int left = 0, right = getWidth();

    for (auto* editor : crossoverEditors)
    {
        // Truncated, not rounded: a handle at 100.9 starts the next span at 100.
        if (hasLeft && (int) editor->crossoverIndex == b - 1)
            left = (int) editor->getHandlePosition();

        if (hasRight && (int) editor->crossoverIndex == rightRank)
            right = (int) editor->getHandlePosition();
    }

    return { left, right };
}

void MultiAudioEditor::BandDisplay::resized()
{
    const int h = getHeight();
    frame.setBounds (getLocalBounds());
    gainSlider.setBounds (getLocalBounds().expanded (0, 10));

    const auto records = processor.readRecords();
    if (bandIndex >= records.bands.size() || ! records.bands[bandIndex].enabled)
    {
        setVisible (false);
        return;
    }
    setVisible (true);

    const auto [left, right] = findSpan (records);
    const int width = right - left;   // below zero only while a pushed neighbour catches up
    const int rowsWithMargins = juce::jmax (h, -20) + 20;

    gainSlider.setBounds (left, -10, width, rowsWithMargins);

    if (bandIndex == 0)
        selectButton.setBounds (left, firstBandFreeTop, width, juce::jmax (h, -20) - 40);
    else
        selectButton.setBounds (gainSlider.getBounds());
    selectButton.toBack();

    // With every crossover in use the strip keeps its last bounds but is
    // hidden, so it takes no click from the band that now lies under it.
    addCrossover.setVisible (records.crossoverCount < maxCrossovers);
    if (records.crossoverCount < maxCrossovers)
        addCrossover.setBounds (left + AddCrossover::endMargin, 0, width - 2 * AddCrossover::endMargin, addStripHeight);

    plotControls.setBounds (juce::roundToInt ((float) right - (float) PlotControls::columnWidth), 0,
                            PlotControls::columnWidth, PlotControls::columnHeight);
}

void MultiAudioEditor::BandDisplay::buttonClicked (juce::Button* button)
{
    if (button != &selectButton && button != &plotControls.soloButton
        && button != &plotControls.activeButton && button != &plotControls.powerButton)
        return;

    // Only the user's clicks select: the switches' attachments also switch them,
    // when a preset, A/B, a restored state or the host changes their parameters.
    if (const auto* switchButton = dynamic_cast<const UserClickSource*> (button);
        switchButton != nullptr && ! switchButton->isHandlingUserClick())
        return;

    if (processor.readRecords().crossoverCount == 0)
    {
        // The only band: nothing to choose between.
        setSelectionMark (false);
        return;
    }

    setSelectionMark (true);
    gainSlider.sendChangeMessage();
}

void MultiAudioEditor::BandDisplay::setSelectionMark (bool selected)
{
    gainSlider.lookAndFeel.selected = selected;
    gainSlider.repaint();
}
