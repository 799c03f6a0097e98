// The library routines behind the exported entry points: registration of
// the plug-in with the host, start-up and shut-down of the host services,
// and the fixed answers about components, class factories and the SDK.

#include "AAX_Exports.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_UIDs.h"
#include "AAX_VCollection.h"
#include "CACFUnknown.h"
#include "IACFPluginDefinition.h"

#include <exception>
#include <memory>

namespace
{
    constexpr const char* kRegistrationExceptionTrace = "AAXRegisterPlugin exception caught: %s";

    void describeAndDefine (IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
    {
        const auto collection = std::make_unique<AAX_VCollection> (pUnkHost);

        AAX_CheckedResult result (GetEffectDescriptions (collection.get()));

        if (ppPluginDefinition == nullptr)
        {
            result = AAX_ERROR_NULL_ARGUMENT;
            return;
        }

        *ppPluginDefinition = nullptr;
        IACFUnknown* const hostUnknown = collection->GetIUnknown();
        const acfResult answer = hostUnknown != nullptr
            ? hostUnknown->QueryInterface (IID_IACFPluginDefinition, reinterpret_cast<void**> (ppPluginDefinition))
            : ACF_E_NOINTERFACE;

        if (answer != ACF_OK)
            result = AAX_ERROR_NULL_OBJECT;
    }
}

AAX_Result AAXRegisterPlugin (IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
{
    try
    {
        describeAndDefine (pUnkHost, ppPluginDefinition);
        return AAX_SUCCESS;
    }
    catch (const AAX::Exception::ResultError& error)
    {
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical, kRegistrationExceptionTrace, error.what());
        return error.Result();
    }
    catch (const AAX::Exception::Any& error)
    {
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical, kRegistrationExceptionTrace, error.what());
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    catch (const std::exception& error)
    {
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical, kRegistrationExceptionTrace, error.what());
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    catch (...)
    {
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical, "AAXRegisterPlugin exception caught: unknown");
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}

AAX_Result AAXRegisterComponent (IACFUnknown*, acfUInt32, IACFComponentDefinition** ppComponentDefinition)
{
    if (ppComponentDefinition != nullptr)
        *ppComponentDefinition = nullptr;
    return AAX_SUCCESS;
}

AAX_Result AAXGetClassFactory (IACFUnknown*, const acfCLSID&, const acfIID&, void** ppOut)
{
    if (ppOut != nullptr)
        *ppOut = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAXCanUnloadNow (IACFUnknown*)
{
    return static_cast<AAX_Result> (CACFUnknown::GetActiveObjectCount());
}

AAX_Result AAXStartup (IACFUnknown* pUnkHost)
{
    AAX_CHostServices::Set (pUnkHost);
    return AAX_SUCCESS;
}

AAX_Result AAXShutdown (IACFUnknown*)
{
    AAX_CHostServices::Set (nullptr);
    return AAX_SUCCESS;
}

AAX_Result AAXGetSDKVersion (acfUInt64* oSDKVersion)
{
    if (oSDKVersion == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oSDKVersion = kAAXLibrarySDKVersion;
    return AAX_SUCCESS;
}
