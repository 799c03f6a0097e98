// The GUI object as the host drives it: the processor's editor exists
// exactly while the host has a view container open.
#include "ClientTestHost.h"

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

    /** A GUI object made by its creation procedure, initialised against a
        controller that hands it the effect of `instance`. */
    class HostedGUI
    {
    public:
        HostedGUI (fakehost::FakeHost& host, HostedEffect& instance)
            : controller (host, optionsFor (instance))
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

        static fakehost::ControllerOptions optionsFor (HostedEffect& instance)
        {
            fakehost::ControllerOptions options;
            options.effectParameters = instance.Unknown();
            return options;
        }

        fakehost::FakeController controller;
        IACFUnknown* unknown = nullptr;
        AAX_IACFEffectGUI* gui = nullptr;
        aaxclient::EffectGUI* object = nullptr;
        AAX_Result initializeResult = -1;
    };

    /** Hosts put up an X error handler of their own; without one, Xlib ends
        the process on the first harmless error (a window manager's atom
        missing on a bare X server, say). The test plays the host here. */
    void installHostXErrorHandler()
    {
        using ErrorHandler = int (*) (void*, void*);
        using SetErrorHandler = ErrorHandler (*) (ErrorHandler);

        if (void* xlib = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD))
            if (auto setHandler = reinterpret_cast<SetErrorHandler> (dlsym (xlib, "XSetErrorHandler")))
                setHandler ([] (void*, void*) { return 0; });
    }

    /** A view container holding an X11 window of the test's own. */
    class X11ViewContainer : public fakehost::FakeViewContainer
    {
    public:
        explicit X11ViewContainer (void* windowHandle) : handle (windowHandle) {}

        int32_t GetType() override { return aaxclient::kViewContainerTypeX11Window; }
        void* GetPtr() override { return handle; }

    private:
        void* handle;
    };

    class EffectGUITest : public ::testing::Test
    {
    protected:
        fakehost::FakeHost host;
        fakehost::ScopedStartup startup { host };
    };

    TEST_F (EffectGUITest, EditorExistsWhileTheViewIsOpen)
    {
        fakehost::FakeViewContainer view;
        HostedEffect instance (host);
        HostedGUI window (host, instance);

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
        EXPECT_EQ (view.lastSize.horz, (float) editor->getWidth());

        ASSERT_EQ (window.gui->SetViewContainer (nullptr), AAX_SUCCESS);
        EXPECT_EQ (window.object->getEditor(), nullptr);
        EXPECT_EQ (instance.Processor().getActiveEditor(), nullptr);
        EXPECT_EQ (window.gui->GetViewSize (&size), AAX_ERROR_NULL_OBJECT);
    }

    TEST_F (EffectGUITest, OnADisplayTheEditorGoesIntoTheHostsWindow)
    {
        if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
            GTEST_SKIP() << "no display";

        installHostXErrorHandler();

        juce::Component hostWindow;
        hostWindow.setBounds (0, 0, 1000, 600);
        hostWindow.addToDesktop (0);
        X11ViewContainer view (hostWindow.getWindowHandle());

        HostedEffect instance (host);
        HostedGUI window (host, instance);
        window.gui->SetViewContainer (&view);

        ASSERT_NE (window.object->getEditor(), nullptr);
        EXPECT_TRUE (window.object->isEditorOnScreen());
        EXPECT_TRUE (window.object->getEditor()->isOnDesktop());

        window.gui->SetViewContainer (nullptr);
        EXPECT_EQ (window.object->getEditor(), nullptr);
    }

    TEST_F (EffectGUITest, ReopeningTheViewMakesAFreshEditor)
    {
        fakehost::FakeViewContainer first, second;   // outlive the window, which holds the open one
        HostedEffect instance (host);
        HostedGUI window (host, instance);

        window.gui->SetViewContainer (&first);
        window.gui->SetViewContainer (nullptr);
        window.gui->SetViewContainer (&second);

        ASSERT_NE (window.object->getEditor(), nullptr);
        EXPECT_EQ (instance.Processor().getActiveEditor(), window.object->getEditor());
    }

    TEST_F (EffectGUITest, UninitializeWithTheViewOpenDestroysTheEditor)
    {
        HostedEffect instance (host);
        fakehost::FakeViewContainer view;
        {
            HostedGUI window (host, instance);
            window.gui->SetViewContainer (&view);
            ASSERT_NE (instance.Processor().getActiveEditor(), nullptr);
        }

        EXPECT_EQ (instance.Processor().getActiveEditor(), nullptr);
        EXPECT_EQ (view.references, 0);
    }

    TEST_F (EffectGUITest, WithoutAnEffectOfOursNoEditorIsMade)
    {
        fakehost::FakeController controller (host);
        auto* unknown = static_cast<IACFUnknown*> (aaxclient::createEffectGUIObject());
        void* found = nullptr;
        unknown->QueryInterface (IID_IAAXEffectGUIV1, &found);
        auto* gui = static_cast<AAX_IACFEffectGUI*> (found);
        fakehost::FakeViewContainer view;

        gui->Initialize (&controller);
        EXPECT_EQ (gui->SetViewContainer (&view), AAX_SUCCESS);
        EXPECT_EQ (dynamic_cast<aaxclient::EffectGUI*> (gui)->getEditor(), nullptr);

        gui->Uninitialize();
        gui->Release();
    }

    TEST_F (EffectGUITest, EverythingIsReleasedAfterTheWindowAndInstanceGo)
    {
        fakehost::FakeViewContainer view;
        HostedEffect instance (host);
        HostedGUI window (host, instance);
        window.gui->SetViewContainer (&view);
        window.gui->TimerWakeup();

        window.Close();
        instance.Close();

        EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
        EXPECT_EQ (aaxclient::JuceLibraryScope::liveScopes(), 0);
        EXPECT_EQ (view.references, 0);
        EXPECT_EQ (window.controller.references, 0);
        EXPECT_EQ (instance.Controller().references, 0);
    }
}
