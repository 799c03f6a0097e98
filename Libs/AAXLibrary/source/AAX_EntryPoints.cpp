// The exported entry points. No exception may cross into the host: each
// entry point runs its routine inside a catch-all and answers 0x8000FFFF
// when anything escapes.

#include "AAX_Exports.h"

namespace
{
    template <typename Routine>
    acfResult callGuarded (Routine&& routine) noexcept
    {
        try
        {
            return routine();
        }
        catch (...)
        {
            return ACF_E_UNEXPECTED;
        }
    }
}

extern "C"
{
    acfResult ACFRegisterPlugin (IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
    {
        return callGuarded ([&] { return AAXRegisterPlugin (pUnkHost, ppPluginDefinition); });
    }

    acfResult ACFRegisterComponent (IACFUnknown* pUnkHost, acfUInt32 index, IACFComponentDefinition** ppComponentDefinition)
    {
        return callGuarded ([&] { return AAXRegisterComponent (pUnkHost, index, ppComponentDefinition); });
    }

    acfResult ACFGetClassFactory (IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid, void** ppOut)
    {
        return callGuarded ([&] { return AAXGetClassFactory (pUnkHost, clsid, iid, ppOut); });
    }

    acfResult ACFCanUnloadNow (IACFUnknown* pUnkHost)
    {
        return callGuarded ([&] { return AAXCanUnloadNow (pUnkHost); });
    }

    acfResult ACFStartup (IACFUnknown* pUnkHost)
    {
        return callGuarded ([&] { return AAXStartup (pUnkHost); });
    }

    acfResult ACFShutdown (IACFUnknown* pUnkHost)
    {
        return callGuarded ([&] { return AAXShutdown (pUnkHost); });
    }

    acfResult ACFGetSDKVersion (acfUInt64* oSDKVersion)
    {
        return callGuarded ([&] { return AAXGetSDKVersion (oSDKVersion); });
    }
}
