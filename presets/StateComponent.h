#pragma once

#include "presets/ABStateHolder.h"
#include "presets/PresetList.h"
#include "presets/PresetListAttachment.h"
#include "presets/PresetsHolder.h"
#include "presets/StateLookAndFeel.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace state
{

/** The preset bar across the top of the window. From left to right: "A/B"
    (swap the live settings with the stored ones), "Keep" (store the live
    settings), the preset list, "Save preset" and "Delete preset".

    The parameter "preset" holds the ID of the entry last loaded (0 for none),
    so the host project remembers it. Choosing an entry loads it and sets the
    parameter, also when it is the entry the list shows (the settings may have
    changed since it was loaded); a change of the parameter from the host or a
    restored state only selects the entry it names and makes it the current one,
    loading nothing. A restored state names its entry by name as well
    (PresetsHolder::restoreState): when the entry at its ID is no longer that
    entry, the one of that name is selected, or none, and "preset" follows.

    The bar works on the processor's A/B holder, presets holder and parameter
    store, which outlive it. It sends a change message at the end of every button
    press and at the start of every change of the list's selection or choice of
    the entry it shows, so the window can follow settings that a preset or A/B
    changed.

    The save dialog and the alert for a presets file that cannot be written run
    in JUCE's asynchronous modal state: the message loop (and so the host) keeps
    running while they are open, and closing the window while one is open
    simply discards it.
*/
class StateComponent : public juce::Component,
                       public juce::Button::Listener,
                       public juce::ComboBox::Listener,
                       public juce::ChangeBroadcaster
{
public:
    StateComponent (juce::AudioProcessorValueTreeState& parameters,
                    ABStateHolder& abState,
                    PresetsHolder& presetsHolder);
    ~StateComponent() override;

    /** Re-reads presets.xml when its modification time differs from the one the
        presets holder last saw (another instance saved or deleted meanwhile). */
    void reloadPresetsIfChanged();

    /** Fills the list from the presets holder: one item per entry, its ID the
        entry's position, its text the entry's name or "(Unnamed preset)". */
    void refreshPresetList();

    /** "Save preset" is enabled while the list has no more entries than the
        highest value of the parameter "preset". */
    void updateSaveButton();

    /** "Delete preset" is enabled for the user's own entries, those after the
        factory entries; the factory entries can never be deleted. */
    void updateDeleteButton();

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    juce::AudioProcessorValueTreeState& parameters;
    ABStateHolder& abState;
    PresetsHolder& presetsHolder;

private:
    void swapWithStoredSettings();
    void showSaveDialog();
    void finishSaveDialog (int result);
    void deleteSelectedPreset();
    void showWriteFailure (const juce::String& title, const juce::String& what, const juce::Result& reason);
    void closeWriteFailure();
    void showListAsHeld();
    void select (int presetId);
    void loadShownEntryAgain();

    /** Entries with IDs up to this one are the factory presets. */
    static constexpr int factoryPresetCount = 23;

    juce::TextButton abButton { "A/B" };
    juce::TextButton keepButton { "Keep" };
    PresetList presetList;
    juce::TextButton saveButton { "Save preset" };
    juce::TextButton deleteButton { "Delete preset" };
    StateLookAndFeel lookAndFeel;
    std::unique_ptr<PresetListAttachment> presetAttachment;

    // Declared after the look-and-feel they use, so they go first.
    std::unique_ptr<juce::AlertWindow> saveDialog;
    std::unique_ptr<juce::AlertWindow> failureAlert;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StateComponent)
};

} // namespace state
