#include "editor/ContextPopupMenu.h"

MultiAudioEditor::ContextPopupMenu::ContextPopupMenu()
{
    setLookAndFeel (&lookAndFeel);
}

MultiAudioEditor::ContextPopupMenu::~ContextPopupMenu()
{
    setLookAndFeel (nullptr);
}
