#include "editor/ValueBoxFocusKeeper.h"

ValueBoxFocusKeeper::ValueBoxFocusKeeper (juce::Component& windowToWatch) : window (windowToWatch)
{
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

ValueBoxFocusKeeper::~ValueBoxFocusKeeper()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);
}

void ValueBoxFocusKeeper::globalFocusChanged (juce::Component* focused)
{
    // An open box is the modal component (a click elsewhere closes it).
    auto* box = dynamic_cast<juce::Label*> (juce::Component::getCurrentlyModalComponent());
    auto* editor = box != nullptr && window.isParentOf (box) ? box->getCurrentTextEditor() : nullptr;

    // Only a focus moved within the window: one that left it closes the box.
    if (editor != nullptr && focused != editor && focused != nullptr && window.isParentOf (focused))
        editor->grabKeyboardFocus();
}
