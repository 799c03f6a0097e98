// The GUI object of the library on the host's controller and view
// containers: opening and closing views, parameter updates, references.

#include "LibraryHost.h"

#include "AAX_CEffectGUI.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_Exports.h"

#include <gtest/gtest.h>

using namespace librarytest;

namespace
{
    /** An effect with a given number of parameters, whose parameter queries
        can be made to fail. */
    class EffectWithParameters : public AAX_CEffectParameters
    {
    public:
        explicit EffectWithParameters (int count)
        {
            for (int i = 0; i < count; ++i)
            {
                const std::string id = "param-" + std::to_string (i);
                mParameterManager.AddParameter (new AAX_CParameter<float> (id.c_str(), AAX_CString (id.c_str()), 0.5f,
                                                                           AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                                           AAX_CNumberDisplayDelegate<float, 3, 0>(), true));
            }
        }

        AAX_Result GetNumberOfParameters (int32_t* count) const override
        {
            if (countResult != AAX_SUCCESS)
                return countResult;
            if (negativeCount)
            {
                *count = -1;
                return AAX_SUCCESS;
            }
            return AAX_CEffectParameters::GetNumberOfParameters (count);
        }

        AAX_Result GetParameterIDFromIndex (int32_t index, AAX_IString* id) const override
        {
            if (index == failingIndex)
                return AAX_ERROR_INVALID_PARAMETER_INDEX;
            return AAX_CEffectParameters::GetParameterIDFromIndex (index, id);
        }

        AAX_Result countResult = AAX_SUCCESS;
        bool negativeCount = false;
        int failingIndex = -1;
    };

    class RecordingGUI : public AAX_CEffectGUI
    {
    public:
        explicit RecordingGUI (std::vector<std::string>& log) : events (log) {}

        AAX_Result ParameterUpdated (AAX_CParamID id) override
        {
            events.push_back (std::string ("updated ") + id);
            return AAX_CEffectGUI::ParameterUpdated (id);
        }

        void CreateViewContents() override  { events.push_back ("create contents"); }
        void CreateViewContainer() override { events.push_back ("create container"); }
        void DeleteViewContainer() override { events.push_back ("delete container"); }

        std::vector<std::string>& events;
    };

    /** One effect instance with its controller and a GUI object, as a host
        holds them while a window may be opened. */
    class GuiSession
    {
    public:
        explicit GuiSession (int parameterCount)
            : effect (new EffectWithParameters (parameterCount)),
              controller (controllerOf (host)),
              gui (new RecordingGUI (events)),
              view (viewOf (host, &nativeView)),
              secondView (viewOf (host, &nativeView))
        {
            effect->AddRef();
            gui->AddRef();
            controller.setEffect (static_cast<AAX_IACFEffectParameters*> (effect));
        }

        ~GuiSession()
        {
            if (gui != nullptr)
                gui->Release();
            controller.setEffect (nullptr);
            effect->Release();
        }

        std::vector<std::string> events;
        TestHost host;
        EffectWithParameters* effect;
        HostController& controller;
        RecordingGUI* gui;
        int nativeView = 0;
        HostViewContainer& view;
        HostViewContainer& secondView;
    };
}

TEST (EffectGUI, OpeningAViewPushesEveryParameterOnceInOrder)
{
    GuiSession session (3);
    auto& gui = *session.gui;
    ASSERT_EQ (gui.Initialize (&session.controller), 0);
    EXPECT_EQ (gui.GetEffectParameters(), static_cast<AAX_IACFEffectParameters*> (session.effect));
    EXPECT_NE (gui.Controller(), nullptr);
    EXPECT_NE (gui.Transport(), nullptr);

    EXPECT_EQ (gui.SetViewContainer (&session.view), 0);
    EXPECT_EQ (session.events, (std::vector<std::string> { "create contents", "create container",
                                                           "updated param-0", "updated param-1", "updated param-2" }));
    EXPECT_EQ (gui.GetViewContainerType(), 1);
    EXPECT_EQ (gui.GetViewContainerPtr(), &session.nativeView);
}

TEST (EffectGUI, NoParametersNoUpdates)
{
    GuiSession session (0);
    session.gui->Initialize (&session.controller);
    session.gui->SetViewContainer (&session.view);
    EXPECT_EQ (session.events, (std::vector<std::string> { "create contents", "create container" }));
}

TEST (EffectGUI, FailedQueriesSkipUpdates)
{
    {
        GuiSession session (3);
        session.effect->countResult = AAX_ERROR_NOT_INITIALIZED;
        session.gui->Initialize (&session.controller);
        session.gui->SetViewContainer (&session.view);
        EXPECT_EQ (session.events.back(), "create container");
    }
    {
        GuiSession session (3);
        session.effect->negativeCount = true;
        session.gui->Initialize (&session.controller);
        session.gui->SetViewContainer (&session.view);
        EXPECT_EQ (session.events.back(), "create container");
    }
    {
        GuiSession session (3);
        session.effect->failingIndex = 1;
        session.gui->Initialize (&session.controller);
        session.gui->SetViewContainer (&session.view);
        EXPECT_EQ (session.events, (std::vector<std::string> { "create contents", "create container",
                                                               "updated param-0", "updated param-2" }));
    }
}

TEST (EffectGUI, ClosingWithoutAnOpenViewStillAsksToDeleteIt)
{
    GuiSession session (1);
    session.gui->Initialize (&session.controller);
    EXPECT_EQ (session.gui->SetViewContainer (nullptr), 0);
    EXPECT_EQ (session.events.back(), "delete container");
    EXPECT_EQ (session.gui->GetViewContainer(), nullptr);
    EXPECT_EQ (session.gui->GetViewContainerType(), 0);
    EXPECT_EQ (session.gui->GetViewContainerPtr(), nullptr);
}

TEST (EffectGUI, ReopeningReplacesTheContainer)
{
    GuiSession session (1);
    auto& gui = *session.gui;
    gui.Initialize (&session.controller);
    gui.SetViewContainer (&session.view);
    gui.SetViewContainer (&session.secondView);

    EXPECT_EQ (session.view.references(), 0) << "the first view is let go when replaced";
    EXPECT_GT (session.secondView.references(), 0);
    gui.SetViewContainer (nullptr);
    EXPECT_EQ (session.secondView.references(), 0);
}

TEST (EffectGUI, UninitializeClosesTheViewAndReleasesTheHost)
{
    GuiSession session (2);
    auto& gui = *session.gui;
    gui.Initialize (&session.controller);
    gui.SetViewContainer (&session.view);

    EXPECT_EQ (gui.Uninitialize(), 0);
    EXPECT_EQ (session.events.back(), "delete container");
    EXPECT_EQ (gui.Controller(), nullptr);
    EXPECT_EQ (gui.Transport(), nullptr);
    EXPECT_EQ (gui.GetEffectParameters(), nullptr);
    EXPECT_EQ (session.host.unbalanced(), "");
}

TEST (EffectGUI, InitializeWithoutControllerIsNotInitialized)
{
    GuiSession session (1);
    auto& gui = *session.gui;
    EXPECT_EQ (gui.Initialize (nullptr), AAX_ERROR_NOT_INITIALIZED);
    EXPECT_NE (gui.Controller(), nullptr) << "the controller wrapper is made anyway";
    EXPECT_EQ (gui.Transport(), nullptr);
    EXPECT_TRUE (session.events.empty());
    EXPECT_EQ (gui.Uninitialize(), 0);
    EXPECT_EQ (gui.Controller(), nullptr);
}

TEST (EffectGUI, BaseOperationsAnswerTheirDefaults)
{
    GuiSession session (0);
    auto& gui = *session.gui;
    AAX_CString label;
    AAX_Point size;
    AAX_Rect area;
    EXPECT_EQ (gui.GetCustomLabel (0, &label), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (gui.NotificationReceived (0x41535076, nullptr, 0), 0);
    EXPECT_EQ (gui.GetViewSize (&size), 0);
    EXPECT_EQ (gui.Draw (&area), 0);
    EXPECT_EQ (gui.TimerWakeup(), 0);
    EXPECT_EQ (gui.AAX_CEffectGUI::ParameterUpdated ("gain-1"), 0);
    EXPECT_EQ (gui.SetControlHighlightInfo ("gain-1", 1, 0), 0);
}

TEST (EffectGUI, AnswersItsInterfaceAndTheRootInterface)
{
    GuiSession session (0);
    auto& gui = *session.gui;

    void* answer = nullptr;
    ASSERT_EQ (gui.QueryInterface (IID_IAAXEffectGUIV1, &answer), ACF_OK);
    EXPECT_EQ (answer, static_cast<AAX_IACFEffectGUI*> (&gui));
    static_cast<AAX_IACFEffectGUI*> (answer)->Release();

    ASSERT_EQ (gui.QueryInterface (IID_IACFUnknown, &answer), ACF_OK);
    static_cast<IACFUnknown*> (answer)->Release();

    EXPECT_EQ (gui.QueryInterface (IID_IAAXEffectParametersV1, &answer), ACF_E_NOINTERFACE);
    EXPECT_EQ (answer, nullptr);
}

TEST (EffectGUI, ReleasingWithAnOpenViewLetsGoOfEverything)
{
    const auto liveBefore = ACFCanUnloadNow (nullptr);
    GuiSession session (2);
    session.gui->Initialize (&session.controller);
    session.gui->SetViewContainer (&session.view);

    // The host drops the GUI object without closing the view first.
    session.gui->Release();
    session.gui = nullptr;

    EXPECT_EQ (session.view.references(), 0);
    EXPECT_EQ (session.controller.references(), 0);
    EXPECT_EQ (ACFCanUnloadNow (nullptr), liveBefore + 1) << "only the effect is still alive";
}
