#include "presets/PresetListAttachment.h"

namespace state
{

PresetListAttachment::PresetListAttachment (juce::RangedAudioParameter& parameter, juce::ComboBox& listToBind,
                                            std::function<void()> parameterChangeCallback, juce::UndoManager* undoManager)
    : list (listToBind),
      onParameterChange (std::move (parameterChangeCallback)),
      attachment (parameter, [this] (float plainValue) { showParameterValue (plainValue); }, undoManager)
{
    attachment.sendInitialUpdate();
    list.addListener (this);
}

PresetListAttachment::~PresetListAttachment()
{
    list.removeListener (this);
}

void PresetListAttachment::writeSelection()
{
    const juce::ScopedValueSetter<bool> ownChange (writing, true);
    attachment.setValueAsCompleteGesture ((float) list.getSelectedId());
}

void PresetListAttachment::comboBoxChanged (juce::ComboBox*)
{
    writeSelection();
}

void PresetListAttachment::showParameterValue (float plainValue)
{
    if (writing)
        return;

    const auto id = juce::roundToInt (plainValue);
    list.setSelectedId (list.indexOfItemId (id) >= 0 ? id : 0, juce::dontSendNotification);

    if (onParameterChange != nullptr)
        onParameterChange();
}

} // namespace state
