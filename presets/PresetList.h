#pragma once

#include "editor/PopupListBox.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace state
{

/** The preset bar's list: a combo box that also reports a choice of the entry
    it already shows.

    A plain combo box changes its selection only to an item other than the one
    shown, so a user who picks the shown entry again (to go back to it after
    turning a knob or swapping A/B) would be told nothing. This box calls
    `onShownEntryChosen` then instead; any other choice selects the item and
    notifies the listeners as every combo box does. Selections made in code
    behave as usual.

    The popup is the one the combo box shows: its items with the shown one
    ticked, the box's look-and-feel and its placement; like every popup list
    of the window it hands the input focus back when it goes (PopupListBox).
*/
class PresetList : public PopupListBox
{
public:
    /** Called on the message thread when the user chooses the entry the box shows. */
    std::function<void()> onShownEntryChosen;

    void showPopup() override;

private:
    void popupClosed (int chosenId);
    juce::Label* textLabel() const;
};

} // namespace state
