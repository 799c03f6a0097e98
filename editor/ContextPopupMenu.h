#pragma once

#include "editor/MultiAudioEditor.h"
#include "editor/PendingLook.h"

/** The window's context menu, drawn with its own look-and-feel. */
class MultiAudioEditor::ContextPopupMenu : public juce::PopupMenu
{
public:
    ContextPopupMenu();
    ~ContextPopupMenu();

    pendinglook::ContextPopupMenuLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContextPopupMenu)
};
