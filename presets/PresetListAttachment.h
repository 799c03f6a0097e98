#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace state
{

/** Binds the preset list to the parameter "preset" by entry ID: the
    parameter's plain value is the ID of the entry shown, 0 for none. The
    meaning of a value thus stays when the number of entries changes.

    A choice in the list sets the parameter as one complete gesture, so the
    host records it. A change of the parameter from anywhere else (the host,
    a restored state) only selects an entry, quietly: the list's listeners
    hear nothing and no preset is loaded; `onParameterChange` is told
    afterwards. The entry is the one `followValue` gives for the parameter's
    value (that value itself when there is no `followValue`); when it gives
    another, the parameter is set to it. A value that names no entry shows
    nothing selected.

    Like JUCE's attachments it follows the parameter on the message thread.
*/
class PresetListAttachment : private juce::ComboBox::Listener
{
public:
    PresetListAttachment (juce::RangedAudioParameter& parameter, juce::ComboBox& list,
                          std::function<int (int presetId)> followValue,
                          std::function<void()> onParameterChange, juce::UndoManager* undoManager = nullptr);
    ~PresetListAttachment() override;

    /** Sets the parameter to the list's selection unless it holds it already. */
    void writeSelection();

private:
    void showParameterValue();
    void comboBoxChanged (juce::ComboBox*) override;

    juce::RangedAudioParameter& parameter;
    juce::ComboBox& list;
    std::function<int (int)> followValue;
    std::function<void()> onParameterChange;
    juce::ParameterAttachment attachment;
    bool writing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetListAttachment)
};

} // namespace state
