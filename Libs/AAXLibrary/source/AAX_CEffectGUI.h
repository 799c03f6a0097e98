// Base of the plug-in's GUI object. The host creates one per window,
// initializes it with its controller, hands it a view container when it
// opens the window and takes it away when it closes it. A derived class
// supplies the three view operations that put its editor into the host's
// view and take it out again.
#pragma once

#include "AAX_IEffectGUI.h"

class AAX_IACFEffectParameters;
class AAX_IController;
class AAX_ITransport;
class AAX_IViewContainer;
class AAX_IString;

class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();

    AAX_CEffectGUI (const AAX_CEffectGUI&) = delete;
    AAX_CEffectGUI& operator= (const AAX_CEffectGUI&) = delete;

    /** Makes the controller wrapper (also for a null unknown, then answers
        -20011); else takes the effect-parameters interface, makes the
        transport wrapper and calls CreateViewContents(). */
    AAX_Result Initialize (IACFUnknown* iController) override;
    /** Closes an open view, releases the effect parameters and deletes the
        controller and transport wrappers. */
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize) override;
    /** Non-null: opens (or replaces) the view container, calls
        CreateViewContainer() and pushes every parameter through
        ParameterUpdated. Null: DeleteViewContainer() and the wrapper goes. */
    AAX_Result SetViewContainer (IACFUnknown* iViewContainer) override;
    AAX_Result GetViewSize (AAX_Point* oViewSize) const override;
    AAX_Result Draw (AAX_Rect* iDrawRect) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated (AAX_CParamID inParamID) override;
    /** No custom labels: -20004. */
    AAX_Result GetCustomLabel (AAX_EPlugInStrings iSelector, AAX_IString* oString) const override;
    AAX_Result SetControlHighlightInfo (AAX_CParamID iParameterID, AAX_CBoolean iIsHighlighted, AAX_EHighlightColor iColor) override;

    /** Answers the effect-GUI interface; everything else goes to CACFUnknown. */
    acfResult InternalQueryInterface (const acfIID& iid, void** ppOut) override;

    ~AAX_CEffectGUI() override;

    AAX_IACFEffectParameters* GetEffectParameters() noexcept             { return mEffectParameters; }
    const AAX_IACFEffectParameters* GetEffectParameters() const noexcept { return mEffectParameters; }
    AAX_IViewContainer* GetViewContainer() noexcept                      { return mViewContainer; }
    const AAX_IViewContainer* GetViewContainer() const noexcept          { return mViewContainer; }
    /** The open container's type, 0 without one. */
    int32_t GetViewContainerType();
    /** The open container's native view, null without one. */
    void* GetViewContainerPtr();
    AAX_IController* Controller() noexcept                               { return mController; }
    const AAX_IController* Controller() const noexcept                   { return mController; }
    AAX_ITransport* Transport() noexcept                                 { return mTransport; }
    const AAX_ITransport* Transport() const noexcept                     { return mTransport; }

protected:
    virtual void CreateViewContents() = 0;
    virtual void CreateViewContainer() = 0;
    virtual void DeleteViewContainer() = 0;
    /** Calls ParameterUpdated once for every parameter of the effect, in index order. */
    virtual void UpdateAllParameters();

private:
    void DeleteViewContainerWrapper();
    void ReleaseHostObjects();

    AAX_IController* mController = nullptr;
    AAX_IACFEffectParameters* mEffectParameters = nullptr;
    AAX_IViewContainer* mViewContainer = nullptr;
    AAX_ITransport* mTransport = nullptr;
};
