#include "presets/StateComponent.h"

#include "presets/ParameterSetXml.h"

namespace state
{

namespace
{
    const juce::String presetParameterID { "preset" };
    const juce::String presetNameEditorID { "presetEditorID" };

    void destroyDialog (std::unique_ptr<juce::AlertWindow>& dialog)
    {
        if (dialog == nullptr)
            return;

        dialog->setLookAndFeel (nullptr);
        dialog.reset();
    }

    /** Runs `dialog` in the asynchronous modal state; `onClose` gets its result
        unless the bar or that very dialog is gone by then (a dialog destroyed
        while open reports too, and a later dialog may sit at the same address). */
    template <typename OnClose>
    void runAsynchronously (juce::AlertWindow& dialog, StateComponent& bar, OnClose onClose)
    {
        juce::Component::SafePointer<StateComponent> safeBar (&bar);
        juce::Component::SafePointer<juce::AlertWindow> safeDialog (&dialog);

        dialog.enterModalState (true, juce::ModalCallbackFunction::create ([safeBar, safeDialog, onClose] (int result)
                                {
                                    if (safeBar != nullptr && safeDialog != nullptr)
                                        onClose (*safeBar, result);
                                }),
                                false);
    }
}

StateComponent::StateComponent (juce::AudioProcessorValueTreeState& parametersToUse,
                                ABStateHolder& abStateToUse,
                                PresetsHolder& presetsHolderToUse)
    : parameters (parametersToUse), abState (abStateToUse), presetsHolder (presetsHolderToUse)
{
    setLookAndFeel (&lookAndFeel);

    for (auto* button : { &abButton, &keepButton })
    {
        addAndMakeVisible (*button);
        button->addListener (this);
    }

    addAndMakeVisible (presetList);
    presetList.setTextWhenNothingSelected ("Load preset...");
    refreshPresetList();

    // The attachment selects the entry "preset" names (or, after a restored
    // state, the entry it meant), which becomes the current one; nothing is
    // applied by it.
    if (auto* preset = parameters.getParameter (presetParameterID))
        presetAttachment = std::make_unique<PresetListAttachment> (*preset, presetList,
                                                                   [this] (int presetId) { return presetsHolder.followPresetParameter (presetId); },
                                                                   [this] { updateSaveButton(); updateDeleteButton(); },
                                                                   parameters.undoManager);
    else
        presetsHolder.currentIndex = presetList.getSelectedId();

    presetList.addListener (this);
    presetList.onShownEntryChosen = [this] { loadShownEntryAgain(); };

    addAndMakeVisible (saveButton);
    saveButton.addListener (this);
    updateSaveButton();

    addAndMakeVisible (deleteButton);
    deleteButton.addListener (this);
    updateDeleteButton();
}

StateComponent::~StateComponent()
{
    juce::PopupMenu::dismissAllActiveMenus();
    destroyDialog (saveDialog);
    destroyDialog (failureAlert);
    presetList.setLookAndFeel (nullptr);
    setLookAndFeel (nullptr);
    presetAttachment.reset();
}

//==============================================================================
void StateComponent::reloadPresetsIfChanged()
{
    if (presetsHolder.readModificationTime() == presetsHolder.lastModified)
        return;

    readPresetsFile (presetsHolder.presetsFile, presetsHolder.presets);
    presetsHolder.lastModified = presetsHolder.readModificationTime();
    showListAsHeld();
}

void StateComponent::refreshPresetList()
{
    // Every caller selects an entry afterwards, which notifies.
    presetList.clear (juce::dontSendNotification);
    int id = 0;

    for (auto* entry : presetsHolder.presets.getChildIterator())
    {
        const auto name = entry->getStringAttribute ("presetName");
        presetList.addItem (name.isNotEmpty() ? name : "(Unnamed preset)", ++id);
    }
}

void StateComponent::showListAsHeld()
{
    refreshPresetList();
    select (presetsHolder.currentIndex);
    updateSaveButton();
    updateDeleteButton();
}

void StateComponent::select (int presetId)
{
    const auto id = presetList.indexOfItemId (presetId) >= 0 ? presetId : 0;

    if (id != presetList.getSelectedId())
    {
        presetList.setSelectedId (id, juce::sendNotificationAsync);
        return;
    }

    // The list shows it already (a refilled list shows nothing), so it will not
    // notify: the holder and the parameter are told here.
    comboBoxChanged (&presetList);

    if (presetAttachment != nullptr)
        presetAttachment->writeSelection();
}

void StateComponent::updateSaveButton()
{
    juce::NormalisableRange<float> range (0.0f, 1.0f);

    if (auto* preset = parameters.getParameter (presetParameterID))
        range = preset->getNormalisableRange();

    saveButton.setEnabled (juce::jmax (range.start, range.end) >= (float) presetsHolder.presets.getNumChildElements());
}

void StateComponent::updateDeleteButton()
{
    deleteButton.setEnabled (presetList.getSelectedId() > factoryPresetCount);
}

//==============================================================================
void StateComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::transparentBlack);
}

void StateComponent::resized()
{
    const auto unit = getWidth() / 12;
    const auto height = getHeight();
    auto left = getWidth();
    auto x = 0;

    const std::pair<juce::Component*, int> cells[] { { &abButton, 2 }, { &keepButton, 2 }, { &presetList, 4 },
                                                     { &saveButton, 2 }, { &deleteButton, 2 } };

    for (const auto& [component, units] : cells)
    {
        const auto cellWidth = juce::jmin (units * unit, left);
        component->setBounds (x + 2, 2, juce::jmax (0, cellWidth - 4), juce::jmax (0, height - 4));
        x += cellWidth;
        left -= cellWidth;
    }
}

//==============================================================================
void StateComponent::buttonClicked (juce::Button* button)
{
    if (button == &abButton)
        swapWithStoredSettings();
    else if (button == &keepButton)
        captureParametersToXml (*abState.processor, abState.storedSet);
    else if (button == &saveButton)
        showSaveDialog();
    else if (button == &deleteButton)
        deleteSelectedPreset();

    sendChangeMessage();
}

void StateComponent::comboBoxChanged (juce::ComboBox* box)
{
    sendChangeMessage();
    presetsHolder.loadPreset (box->getSelectedId());
    updateSaveButton();
    updateDeleteButton();
}

void StateComponent::loadShownEntryAgain()
{
    // The list does not change, so nothing else tells the window or the holder.
    sendChangeMessage();
    presetsHolder.applyPreset (presetList.getSelectedId());

    if (presetAttachment != nullptr)
        presetAttachment->writeSelection();

    updateSaveButton();
    updateDeleteButton();
}

void StateComponent::swapWithStoredSettings()
{
    juce::XmlElement live ("Temp");
    captureParametersToXml (*abState.processor, live);
    applyParametersFromXml (abState.storedSet, *abState.processor);

    abState.storedSet = live;
    abState.storedSet.setTagName ("AB");
}

//==============================================================================
void StateComponent::showSaveDialog()
{
    if (saveDialog != nullptr)
        return;

    saveDialog = std::make_unique<juce::AlertWindow> ("Save preset...", juce::String(), juce::MessageBoxIconType::NoIcon);
    saveDialog->setLookAndFeel (&lookAndFeel);
    saveDialog->setColour (juce::AlertWindow::backgroundColourId, juce::Colours::black);
    saveDialog->addTextEditor (presetNameEditorID, {}, "Enter preset name", false);
    saveDialog->addButton ("OK", 0, juce::KeyPress (juce::KeyPress::returnKey));
    saveDialog->addButton ("Cancel", 1, juce::KeyPress (juce::KeyPress::escapeKey));

    // The hint shows beneath the field too: a focused field hides its placeholder.
    // The bar's look has no outlines; the field gets one so it can be seen.
    auto* nameEditor = saveDialog->getTextEditor (presetNameEditorID);
    const auto grey = lookAndFeel.findColour (juce::ComboBox::textColourId);
    nameEditor->setTextToShowWhenEmpty ("Enter preset name", grey.withAlpha (0.6f));
    nameEditor->setColour (juce::TextEditor::outlineColourId, grey.withAlpha (0.4f));
    nameEditor->setColour (juce::TextEditor::focusedOutlineColourId, grey);

    // Typing goes to the name: it comes first in the focus order (ahead of the
    // buttons, which ask for place 1), now or when the dialog's window gets focus.
    nameEditor->setExplicitFocusOrder (1);
    runAsynchronously (*saveDialog, *this, [] (StateComponent& bar, int result) { bar.finishSaveDialog (result); });
    nameEditor->grabKeyboardFocus();
}

void StateComponent::finishSaveDialog (int result)
{
    const auto name = saveDialog->getTextEditorContents (presetNameEditorID);
    destroyDialog (saveDialog);

    if (result != 0)
        return;

    const auto written = presetsHolder.savePreset (name);
    showListAsHeld();

    if (written.failed())
        showWriteFailure ("Preset not saved", "The preset \"" + name + "\" was not saved", written);
}

void StateComponent::deleteSelectedPreset()
{
    auto written = juce::Result::ok();

    // Only the entry shown, and only while it is the one loaded (a choice not yet
    // delivered is not); factory entries stay in any case.
    const auto shown = presetList.getSelectedId();

    if (shown > factoryPresetCount && shown == presetsHolder.currentIndex)
        presetsHolder.deletePreset (shown, written);

    // A failed delete leaves the entry in the file, so it stays selected.
    refreshPresetList();
    select (written.wasOk() ? 0 : presetsHolder.currentIndex);
    updateSaveButton();
    updateDeleteButton();

    if (written.failed())
        showWriteFailure ("Preset not deleted", "The preset was not deleted", written);
}

//==============================================================================
void StateComponent::showWriteFailure (const juce::String& title, const juce::String& what, const juce::Result& reason)
{
    destroyDialog (failureAlert);

    const auto message = what + ". The presets file\n" + presetsHolder.presetsFile.getFullPathName()
                       + "\ncould not be written: " + reason.getErrorMessage() + ".";

    failureAlert = std::make_unique<juce::AlertWindow> (title, message, juce::MessageBoxIconType::WarningIcon);
    failureAlert->setLookAndFeel (&lookAndFeel);
    failureAlert->setColour (juce::AlertWindow::backgroundColourId, juce::Colours::black);
    failureAlert->addButton ("OK", 0, juce::KeyPress (juce::KeyPress::returnKey), juce::KeyPress (juce::KeyPress::escapeKey));

    runAsynchronously (*failureAlert, *this, [] (StateComponent& bar, int) { bar.closeWriteFailure(); });
}

void StateComponent::closeWriteFailure()
{
    destroyDialog (failureAlert);
}

} // namespace state
