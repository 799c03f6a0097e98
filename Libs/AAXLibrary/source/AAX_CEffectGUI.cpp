#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_UIDs.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    // The derived part is gone by now, so its view operations cannot be
    // called any more (the derived class tears its view down in its own
    // destructor); only the host objects and wrappers are let go here.
    ReleaseHostObjects();
}

AAX_Result AAX_CEffectGUI::Initialize (IACFUnknown* iController)
{
    // A second Initialize replaces what the first one made.
    ReleaseHostObjects();

    mController = new AAX_VController (iController);
    if (iController == nullptr)
        return AAX_ERROR_NOT_INITIALIZED;

    void* effectParameters = nullptr;
    if (iController->QueryInterface (IID_IAAXEffectParametersV1, &effectParameters) == ACF_OK)
        mEffectParameters = static_cast<AAX_IACFEffectParameters*> (effectParameters);

    mTransport = new AAX_VTransport (iController);
    CreateViewContents();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    if (mViewContainer != nullptr)
        SetViewContainer (nullptr);

    ReleaseHostObjects();
    return AAX_SUCCESS;
}

void AAX_CEffectGUI::ReleaseHostObjects()
{
    DeleteViewContainerWrapper();

    if (mEffectParameters != nullptr)
    {
        mEffectParameters->Release();
        mEffectParameters = nullptr;
    }

    delete mController;
    mController = nullptr;
    delete mTransport;
    mTransport = nullptr;
}

void AAX_CEffectGUI::DeleteViewContainerWrapper()
{
    delete mViewContainer;
    mViewContainer = nullptr;
}

AAX_Result AAX_CEffectGUI::NotificationReceived (AAX_CTypeID, const void*, uint32_t)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer (IACFUnknown* iViewContainer)
{
    if (iViewContainer != nullptr)
    {
        auto* replacement = new AAX_VViewContainer (iViewContainer);
        DeleteViewContainerWrapper();
        mViewContainer = replacement;

        CreateViewContainer();
        UpdateAllParameters();
    }
    else
    {
        DeleteViewContainer();
        DeleteViewContainerWrapper();
    }

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GetViewSize (AAX_Point*) const                   { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::Draw (AAX_Rect*)                                 { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::TimerWakeup()                                    { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::ParameterUpdated (AAX_CParamID)                  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::GetCustomLabel (AAX_EPlugInStrings, AAX_IString*) const { return AAX_ERROR_NULL_OBJECT; }

AAX_Result AAX_CEffectGUI::SetControlHighlightInfo (AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor)
{
    return AAX_SUCCESS;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (mEffectParameters == nullptr)
        return;

    int32_t parameterCount = 0;
    if (mEffectParameters->GetNumberOfParameters (&parameterCount) != AAX_SUCCESS || parameterCount < 0)
        return;

    for (int32_t index = 0; index < parameterCount; ++index)
    {
        AAX_CString parameterID;
        if (mEffectParameters->GetParameterIDFromIndex (index, &parameterID) == AAX_SUCCESS)
            ParameterUpdated (parameterID.Get());
    }
}

acfResult AAX_CEffectGUI::InternalQueryInterface (const acfIID& iid, void** ppOut)
{
    if (ppOut != nullptr && iid == IID_IAAXEffectGUIV1)
    {
        *ppOut = static_cast<AAX_IACFEffectGUI*> (this);
        AddRef();
        return ACF_OK;
    }

    return CACFUnknown::InternalQueryInterface (iid, ppOut);
}

int32_t AAX_CEffectGUI::GetViewContainerType()
{
    return mViewContainer != nullptr ? mViewContainer->GetType() : 0;
}

void* AAX_CEffectGUI::GetViewContainerPtr()
{
    return mViewContainer != nullptr ? mViewContainer->GetPtr() : nullptr;
}
