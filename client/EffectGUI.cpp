#include "client/EffectGUI.h"

#include "AAX_Errors.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IViewContainer.h"
#include "client/EffectIdentity.h"
#include "client/EffectParameters.h"

namespace aaxclient
{
    namespace
    {
        bool hasDisplay()
        {
            return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
        }
    }

    EffectGUI::EffectGUI() = default;

    EffectGUI::~EffectGUI()
    {
        // The base destructor cannot reach this class's view operations any
        // more, so the editor goes here.
        destroyEditor();
    }

    void EffectGUI::CreateViewContents()
    {
        // The host hands back the effect object of this instance; only our own
        // kind has a processor to show.
        effect = dynamic_cast<EffectParameters*> (GetEffectParameters());
    }

    void EffectGUI::CreateViewContainer()
    {
        try
        {
            if (effect == nullptr)
                CreateViewContents();

            // A new container replaces the old one: the editor moves by
            // being made again for it.
            destroyEditor();

            if (effect == nullptr)
                return;

            editor.reset (effect->getProcessor().createEditorIfNeeded());

            if (editor == nullptr)
                return;

            attachEditorToHostView();

            if (auto* container = GetViewContainer())
            {
                AAX_Point size (static_cast<float> (editor->getHeight()), static_cast<float> (editor->getWidth()));
                container->SetViewSize (size);
            }
        }
        catch (...)
        {
            destroyEditor();
        }
    }

    void EffectGUI::attachEditorToHostView()
    {
        void* nativeView = GetViewContainerPtr();

        if (nativeView == nullptr || GetViewContainerType() != kViewContainerTypeX11Window || ! hasDisplay())
            return;

        editor->setVisible (true);
        editor->addToDesktop (0, nativeView);
        editorOnScreen = editor->isOnDesktop();
    }

    void EffectGUI::DeleteViewContainer()
    {
        destroyEditor();
    }

    void EffectGUI::destroyEditor() noexcept
    {
        if (editor == nullptr)
            return;

        try
        {
            juce::PopupMenu::dismissAllActiveMenus();

            if (editor->isOnDesktop())
                editor->removeFromDesktop();

            editor->processor.editorBeingDeleted (editor.get());
        }
        catch (...)
        {
        }

        editor.reset();
        editorOnScreen = false;
    }

    AAX_Result EffectGUI::GetViewSize (AAX_Point* viewSize) const
    {
        if (viewSize == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        if (editor == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        *viewSize = AAX_Point (static_cast<float> (editor->getHeight()), static_cast<float> (editor->getWidth()));
        return AAX_SUCCESS;
    }

    AAX_Result EffectGUI::TimerWakeup()
    {
        try
        {
            JuceLibraryScope::dispatchPendingMessages();
        }
        catch (...)
        {
            return AAX_ERROR_UNKNOWN_EXCEPTION;
        }

        return AAX_SUCCESS;
    }
}
