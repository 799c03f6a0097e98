#include "editor/PopupListBox.h"

namespace
{
    /** Follows a popup's window until it goes; when it is hidden or deleted while
        it holds the input focus, gives the focus to `origin`'s window first (the
        window is still there then, so the focus never falls to the root window). */
    class FocusReturn final : private juce::ComponentListener
    {
    public:
        /** Lives as long as `popup` and deletes itself with it. */
        static void watch (juce::Component& popup, juce::Component& origin) { new FocusReturn (popup, origin); }

    private:
        FocusReturn (juce::Component& popupToWatch, juce::Component& originToUse) : popup (popupToWatch), origin (&originToUse)
        {
            popup.addComponentListener (this);
        }

        void componentVisibilityChanged (juce::Component&) override
        {
            if (! popup.isVisible())
                returnFocus();
        }

        void componentBeingDeleted (juce::Component&) override
        {
            returnFocus();
            popup.removeComponentListener (this);
            delete this;
        }

        void returnFocus()
        {
            auto* popupPeer = popup.getPeer();
            auto* originPeer = origin != nullptr && origin->isShowing() ? origin->getPeer() : nullptr;

            if (popupPeer != nullptr && originPeer != nullptr && originPeer != popupPeer && popupPeer->isFocused())
                originPeer->grabFocus();
        }

        juce::Component& popup;
        juce::Component::SafePointer<juce::Component> origin;
    };
}

void PopupListBox::showPopup()
{
    showWatchingFocus ([this] { juce::ComboBox::showPopup(); });
}

void PopupListBox::showWatchingFocus (const std::function<void()>& show)
{
    auto& modal = *juce::ModalComponentManager::getInstance();
    const auto modalBefore = modal.getNumModalComponents();

    show();

    // A popup list becomes the front modal component as it is shown, in its own window.
    if (auto* popup = modal.getModalComponent (0); popup != nullptr && modal.getNumModalComponents() > modalBefore
                                                   && popup->isOnDesktop() && popup != getTopLevelComponent())
        FocusReturn::watch (*popup, *this);
}
