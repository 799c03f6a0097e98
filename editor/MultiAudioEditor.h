#pragma once

#include "editor/EditorLookAndFeel.h"
#include "editor/PushButton.h"
#include "editor/ValueBoxFocusKeeper.h"
#include "engine/MultiAudioProcessor.h"
#include "presets/StateComponent.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class BandEditorLookAndFeel;

/** The plug-in's window, 950 x 525: the preset bar on top, the spectrum plot
    with its crossover and band overlays in the middle, and the bottom row with
    either the selected band's editor or the output controls.

    Parameter values travel through JUCE parameter attachments; the window calls
    the processor directly only to add or remove a crossover, and reads the band
    and crossover records through MultiAudioProcessor::readRecords(). Message
    thread only.
*/
class MultiAudioEditor : public juce::AudioProcessorEditor,
                         public juce::ChangeListener,
                         public juce::Button::Listener,
                         public juce::Slider::Listener
{
public:
    class ResponseDisplay;
    class OutputControls;
    class CrossoverEditor;
    class BandDisplay;
    class PlotControls;
    class AddCrossover;
    class BandEditor;
    class ContextPopupMenu;
    using BandEditorLookAndFeel = ::BandEditorLookAndFeel;

    explicit MultiAudioEditor (MultiAudioProcessor&);
    ~MultiAudioEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void buttonClicked (juce::Button* button) override;

    /** Brings the bottom row and the plot overlays in line with the selected
        band and the records, keeping the view (band or output) the user chose. */
    void refreshBandComponents();

    /** The band whose editor the band view shows and whose display carries the
        mark: "selectedBand" limited to the bands that exist (the last one when
        it names a band beyond them). */
    int getSelectedBandIndex() const;

    /** True while the bottom row shows the output controls. */
    bool isOutputViewShown() const;

    MultiAudioProcessor& audioProcessor;
    juce::OwnedArray<CrossoverEditor> crossoverEditors;
    juce::OwnedArray<BandDisplay> bandDisplays;
    juce::OwnedArray<BandEditor> bandEditors;
    std::unique_ptr<ResponseDisplay> responseDisplay;
    state::StateComponent presetBar;
    juce::Rectangle<int> plotArea;
    juce::Slider numCrossoversSlider { juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::TextBoxBelow };
    juce::Slider bandSelector;
    PushButton bandButton;
    PushButton outputButton;
    std::unique_ptr<OutputControls> outputControls;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> sliderAttachments;
    juce::SharedResourcePointer<juce::TooltipWindow> tooltipWindow;
    std::unique_ptr<ContextPopupMenu> contextPopupMenu;
    EditorLookAndFeel editorLookAndFeel;

private:
    /** Keeps every crossover's frequency label clear of the controls over the plot. */
    void keepCrossoverLabelsClear();
    /** The proportion of the crossover range at the centre of a band's "+" marker. */
    float proportionUnderMarker (const BandDisplay& display);

    void switchToBandView();
    void markSelectedBand();
    void limitSelectionToBands (const MultiAudioProcessor::RecordsSnapshot&, double wanted, bool updateCrossoverCount);

    /** A parameter tells its attachments before the processor's listener, so
        when "numCrossovers" changes on the message thread the records are
        still the old ones; the overlays are brought in line again once the
        change has gone round. */
    struct DeferredRefresh : juce::AsyncUpdater
    {
        explicit DeferredRefresh (MultiAudioEditor& e) : editor (e) {}
        ~DeferredRefresh() override { cancelPendingUpdate(); }
        void handleAsyncUpdate() override { editor.refreshBandComponents(); }
        MultiAudioEditor& editor;
    };
    DeferredRefresh deferredRefresh { *this };

    ValueBoxFocusKeeper valueBoxFocus { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MultiAudioEditor)
};
