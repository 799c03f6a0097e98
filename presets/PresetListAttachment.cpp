#include "presets/PresetListAttachment.h"

namespace state
{

PresetListAttachment::PresetListAttachment (juce::RangedAudioParameter& parameterToFollow, juce::ComboBox& listToBind,
                                            std::function<int (int)> valueFollower,
                                            std::function<void()> parameterChangeCallback, juce::UndoManager* undoManager)
    : parameter (parameterToFollow),
      list (listToBind),
      followValue (std::move (valueFollower)),
      onParameterChange (std::move (parameterChangeCallback)),
      attachment (parameterToFollow, [this] (float) { showParameterValue(); }, undoManager)
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

void PresetListAttachment::showParameterValue()
{
    if (writing)
        return;

    // The value now, not the one notified: a notification from another
    // thread may arrive after a later change made here.
    const auto value = juce::roundToInt (parameter.convertFrom0to1 (parameter.getValue()));
    const auto id = followValue != nullptr ? followValue (value) : value;
    list.setSelectedId (list.indexOfItemId (id) >= 0 ? id : 0, juce::dontSendNotification);

    if (id != value)
        writeSelection();

    if (onParameterChange != nullptr)
        onParameterChange();
}

} // namespace state
