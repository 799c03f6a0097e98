// The GUI object of one plug-in window: the library's AAX_CEffectGUI with
// the processor's editor inside. The editor is made when the host hands in
// a view container and destroyed when the host takes it away (or the object
// goes). On a display the editor goes into the host's X11 window; without a
// display, or for a container of another kind, the editor still exists but
// is not put on screen.
#pragma once

#include "AAX_CEffectGUI.h"
#include "client/JuceLibraryScope.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace aaxclient
{
    class EffectParameters;

    class EffectGUI : public AAX_CEffectGUI
    {
    public:
        EffectGUI();
        ~EffectGUI() override;

        /** The open editor, null while no view is open. */
        juce::AudioProcessorEditor* getEditor() const noexcept { return editor.get(); }

        /** True when the open editor sits in the host's window. */
        bool isEditorOnScreen() const noexcept { return editorOnScreen; }

        AAX_Result GetViewSize (AAX_Point* viewSize) const override;
        AAX_Result TimerWakeup() override;

        /** Answers the stand-in host's view snapshot (client/ViewSnapshot.h);
            every other notification goes to the library's GUI object. */
        AAX_Result NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size) override;

    protected:
        void CreateViewContents() override;
        void CreateViewContainer() override;
        void DeleteViewContainer() override;

    private:
        void attachEditorToHostView();
        void destroyEditor() noexcept;

        JuceLibraryScope juceScope;
        EffectParameters* effect = nullptr;   // held alive by the base's reference
        std::unique_ptr<juce::AudioProcessorEditor> editor;
        bool editorOnScreen = false;
    };
}
