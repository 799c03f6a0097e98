// The GUI object as the host drives it: the processor's editor exists
// exactly while the host has a view container open.
#include "ClientSession.h"
#include "XErrorHandler.h"

#include "AAX_Errors.h"
#include "AAX_Exports.h"
#include "AAX_IACFEffectGUI.h"
#include "AAX_UIDs.h"
#include "client/EffectDescription.h"
#include "client/EffectGUI.h"
#include "client/EffectIdentity.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace
{
    using clienttest::HostedEffect;
    using zelkhost::HostController;
    using zelkhost::HostViewContainer;

    /** A GUI object made by its creation procedure and initialised against a
        controller (an instance's own hands it that instance's effect). The
        test opens and closes views on it itself, as a host does. */
    class HostedGUI
    {
    public:
        explicit HostedGUI (HostController& controllerToUse) : controller (controllerToUse)
        {
            unknown = static_cast<IACFUnknown*> (aaxclient::createEffectGUIObject());
            void* found = nullptr;
            unknown->QueryInterface (IID_IAAXEffectGUIV1, &found);
            gui = static_cast<AAX_IACFEffectGUI*> (found);
            object = dynamic_cast<aaxclient::EffectGUI*> (gui);
            initializeResult = gui->Initialize (&controller);
        }

        ~HostedGUI()
        {
            Close();
        }

        void Close()
        {
            if (gui == nullptr)
                return;

            gui->Uninitialize();
            gui->Release();
            gui = nullptr;
            object = nullptr;
        }

        HostController& controller;
        IACFUnknown* unknown = nullptr;
        AAX_IACFEffectGUI* gui = nullptr;
        aaxclient::EffectGUI* object = nullptr;
        AAX_Result initializeResult = -1;
    };

    class EffectGUITest : public ::testing::Test
    {
    protected:
        /** A view container of the host; with a window handle it holds that X11 window. */
        HostViewContainer& makeView (void* windowHandle = nullptr)
        {
            zelkhost::InstanceOptions options;
            options.viewType = windowHandle != nullptr ? aaxclient::kViewContainerTypeX11Window : 0;
            options.nativeView = windowHandle;
            return host.host().registry().make<HostViewContainer> (options);
        }

        clienttest::ClientSession host;
    };

    TEST_F (EffectGUITest, EditorExistsWhileTheViewIsOpen)
    {
        auto& view = makeView();
        HostedEffect instance (host);
        HostedGUI window (instance.Controller());

        ASSERT_EQ (window.initializeResult, AAX_SUCCESS);
        ASSERT_NE (window.object, nullptr);
        EXPECT_EQ (window.object->getEditor(), nullptr);

        ASSERT_EQ (window.gui->SetViewContainer (&view), AAX_SUCCESS);
        auto* editor = window.object->getEditor();
        ASSERT_NE (editor, nullptr);
        EXPECT_EQ (&editor->processor, &instance.Processor());
        EXPECT_EQ (instance.Processor().getActiveEditor(), editor);
        EXPECT_FALSE (window.object->isEditorOnScreen());   // no display here, and not an X11 view

        AAX_Point size;
        ASSERT_EQ (window.gui->GetViewSize (&size), AAX_SUCCESS);
        EXPECT_EQ (size.horz, (float) editor->getWidth());
        EXPECT_EQ (size.vert, (float) editor->getHeight());
        ASSERT_FALSE (view.requestedSizes().empty());
        EXPECT_EQ (view.requestedSizes().back().horz, (float) editor->getWidth());

        ASSERT_EQ (window.gui->SetViewContainer (nullptr), AAX_SUCCESS);
        EXPECT_EQ (window.object->getEditor(), nullptr);
        EXPECT_EQ (instance.Processor().getActiveEditor(), nullptr);
        EXPECT_EQ (window.gui->GetViewSize (&size), AAX_ERROR_NULL_OBJECT);
    }

    TEST_F (EffectGUITest, OnADisplayTheEditorGoesIntoTheHostsWindow)
    {
        if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
            GTEST_SKIP() << "no display";

        zelkhost::installHostXErrorHandler();

        juce::Component hostWindow;
        hostWindow.setBounds (0, 0, 1000, 600);
        hostWindow.addToDesktop (0);
        auto& view = makeView (hostWindow.getWindowHandle());

        HostedEffect instance (host);
        HostedGUI window (instance.Controller());
        window.gui->SetViewContainer (&view);

        ASSERT_NE (window.object->getEditor(), nullptr);
        EXPECT_TRUE (window.object->isEditorOnScreen());
        EXPECT_TRUE (window.object->getEditor()->isOnDesktop());

        window.gui->SetViewContainer (nullptr);
        EXPECT_EQ (window.object->getEditor(), nullptr);
    }

    TEST_F (EffectGUITest, ReopeningTheViewMakesAFreshEditor)
    {
        auto& first = makeView();   // the host keeps its view containers
        auto& second = makeView();
        HostedEffect instance (host);
        HostedGUI window (instance.Controller());

        window.gui->SetViewContainer (&first);
        window.gui->SetViewContainer (nullptr);
        window.gui->SetViewContainer (&second);

        ASSERT_NE (window.object->getEditor(), nullptr);
        EXPECT_EQ (instance.Processor().getActiveEditor(), window.object->getEditor());
    }

    TEST_F (EffectGUITest, UninitializeWithTheViewOpenDestroysTheEditor)
    {
        HostedEffect instance (host);
        auto& view = makeView();
        {
            HostedGUI window (instance.Controller());
            window.gui->SetViewContainer (&view);
            ASSERT_NE (instance.Processor().getActiveEditor(), nullptr);
        }

        EXPECT_EQ (instance.Processor().getActiveEditor(), nullptr);
        EXPECT_EQ (view.references(), 0);
    }

    TEST_F (EffectGUITest, WithoutAnEffectOfOursNoEditorIsMade)
    {
        auto& controller = host.host().makeController ({});
        auto* unknown = static_cast<IACFUnknown*> (aaxclient::createEffectGUIObject());
        void* found = nullptr;
        unknown->QueryInterface (IID_IAAXEffectGUIV1, &found);
        auto* gui = static_cast<AAX_IACFEffectGUI*> (found);
        auto& view = makeView();

        gui->Initialize (&controller);
        EXPECT_EQ (gui->SetViewContainer (&view), AAX_SUCCESS);
        EXPECT_EQ (dynamic_cast<aaxclient::EffectGUI*> (gui)->getEditor(), nullptr);

        gui->Uninitialize();
        gui->Release();
    }

    TEST_F (EffectGUITest, EverythingIsReleasedAfterTheWindowAndInstanceGo)
    {
        auto& view = makeView();
        HostedEffect instance (host);
        auto& controller = instance.Controller();   // the host keeps it after the instance goes
        HostedGUI window (controller);
        window.gui->SetViewContainer (&view);
        window.gui->TimerWakeup();

        window.Close();
        instance.Close();

        EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
        EXPECT_EQ (aaxclient::JuceLibraryScope::liveScopes(), 0);
        EXPECT_EQ (view.references(), 0);
        EXPECT_EQ (controller.references(), 0);
    }
}
