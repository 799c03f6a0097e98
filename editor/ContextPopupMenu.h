#pragma once

#include "editor/MultiAudioEditor.h"
#include "editor/ContextPopupMenuLookAndFeel.h"

/** The window's context menu, drawn with its own look-and-feel. */
class MultiAudioEditor::ContextPopupMenu : public juce::PopupMenu
{
public:
    ContextPopupMenu();
    ~ContextPopupMenu();

    using ContextPopupMenuLookAndFeel = ::ContextPopupMenuLookAndFeel;

    ContextPopupMenuLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContextPopupMenu)
};
