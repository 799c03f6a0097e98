#include "client/EffectGUI.h"

#include "AAX_Errors.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IViewContainer.h"
#include "client/EffectIdentity.h"
#include "client/EffectParameters.h"
#include "client/ViewSnapshot.h"

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

    AAX_Result EffectGUI::NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size)
    {
        if (type != kNotificationViewSnapshot)
            return AAX_CEffectGUI::NotificationReceived (type, data, size);

        if (data == nullptr || size != sizeof (ViewSnapshotRequest))
            return AAX_ERROR_INVALID_ARGUMENT;
        if (editor == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        const auto& request = *static_cast<const ViewSnapshotRequest*> (data);
        if (request.argbPixels == nullptr || request.width != editor->getWidth() || request.height != editor->getHeight())
            return AAX_ERROR_INVALID_ARGUMENT;

        try
        {
            const auto image = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);
            const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
            for (int y = 0; y < request.height; ++y)
                for (int x = 0; x < request.width; ++x)
                    request.argbPixels[(size_t) y * (size_t) request.width + (size_t) x] = pixels.getPixelColour (x, y).getARGB();
        }
        catch (...)
        {
            return AAX_ERROR_UNKNOWN_EXCEPTION;
        }
        return AAX_SUCCESS;
    }
}
