#include "presets/PresetList.h"

namespace state
{

void PresetList::showPopup()
{
    auto* label = textLabel();

    if (label == nullptr)
    {
        PopupListBox::showPopup();
        return;
    }

    if (! isPopupActive())
    {
        // Asked for directly (accessibility): the box marks its popup as open only
        // on its own way here, which the return key takes; it comes back at once.
        keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
        return;
    }

    auto menu = *getRootMenu();
    const auto shown = getSelectedId();

    for (juce::PopupMenu::MenuItemIterator items (menu, true); items.next();)
        if (auto& item = items.getItem(); item.itemID != 0)
            item.isTicked = item.itemID == shown;

    if (menu.getNumItems() == 0)
        menu.addItem (1, getTextWhenNoChoicesAvailable(), false, false);

    auto& look = getLookAndFeel();
    menu.setLookAndFeel (&look);
    showWatchingFocus ([&]
    {
        menu.showMenuAsync (look.getOptionsForComboBoxPopupMenu (*this, *label),
                            juce::ModalCallbackFunction::create ([box = SafePointer<PresetList> (this)] (int chosenId)
                                                                 {
                                                                     if (box != nullptr)
                                                                         box->popupClosed (chosenId);
                                                                 }));
    });
}

void PresetList::popupClosed (int chosenId)
{
    hidePopup();

    if (chosenId == 0)
        return;

    if (chosenId != getSelectedId())
        setSelectedId (chosenId);
    else if (onShownEntryChosen != nullptr)
        onShownEntryChosen();
}

juce::Label* PresetList::textLabel() const
{
    for (auto* child : getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            return label;

    return nullptr;
}

} // namespace state
