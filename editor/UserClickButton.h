#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** What a UserClickButton tells its listeners, whatever kind of button it is. */
class UserClickSource
{
public:
    virtual ~UserClickSource() = default;

    /** True while the button reports a click its user made: with the mouse, a
        key, or an accessibility client. False while it reports a change of its
        state made in code, such as an attachment following its parameter. */
    bool isHandlingUserClick() const noexcept { return handlingUserClick; }

protected:
    bool handlingUserClick = false;
};

/** A button that tells the clicks of its user from changes made to it in code.

    Listeners hear both alike: a click on a button that toggles switches its
    state and notifies, and so does an attachment that switches it when its
    parameter changes (a preset, A/B, a restored state, the host). The user's
    clicks all arrive while the button handles a mouse press or release, a key,
    or its click message (the return key, an accessibility client, triggerClick).
*/
template <typename ButtonType>
class UserClickButton : public ButtonType,
                        public UserClickSource
{
public:
    using ButtonType::ButtonType;

protected:
    void mouseDown (const juce::MouseEvent& e) override
    {
        const juce::ScopedValueSetter<bool> user (handlingUserClick, true);
        ButtonType::mouseDown (e);
    }

    void mouseUp (const juce::MouseEvent& e) override
    {
        const juce::ScopedValueSetter<bool> user (handlingUserClick, true);
        ButtonType::mouseUp (e);
    }

    bool keyStateChanged (bool isKeyDown) override
    {
        const juce::ScopedValueSetter<bool> user (handlingUserClick, true);
        return ButtonType::keyStateChanged (isKeyDown);
    }

    void handleCommandMessage (int commandId) override
    {
        const juce::ScopedValueSetter<bool> user (handlingUserClick, true);
        ButtonType::handleCommandMessage (commandId);
    }
};
