// The bundle's exported entry points (plain C symbols the host looks up),
// the library routines behind them, and GetEffectDescriptions, which the
// client layer (JUCE's AAX client) defines to describe its effects.
#pragma once

#include "AAX.h"

class AAX_ICollection;
class IACFPluginDefinition;
class IACFComponentDefinition;

/** Describes the plug-in's effects into the collection. Defined by the
    client layer, not by this library. */
AAX_Result GetEffectDescriptions (AAX_ICollection* inCollection);

/** The SDK version reported by ACFGetSDKVersion. */
constexpr acfUInt64 kAAXLibrarySDKVersion = 0x0000020300D5E5B4ull;

// Library routines; each may throw, the exported entry points catch.
AAX_Result AAXRegisterPlugin (IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition);
AAX_Result AAXRegisterComponent (IACFUnknown* pUnkHost, acfUInt32 index, IACFComponentDefinition** ppComponentDefinition);
AAX_Result AAXGetClassFactory (IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid, void** ppOut);
AAX_Result AAXCanUnloadNow (IACFUnknown* pUnkHost);
AAX_Result AAXStartup (IACFUnknown* pUnkHost);
AAX_Result AAXShutdown (IACFUnknown* pUnkHost);
AAX_Result AAXGetSDKVersion (acfUInt64* oSDKVersion);

#if defined(_WIN32)
 #define AAX_EXPORT __declspec(dllexport)
#else
 #define AAX_EXPORT __attribute__ ((visibility ("default")))
#endif

// Exported entry points. Each runs its routine inside a handler that
// catches every exception and then returns 0x8000FFFF (ACF_E_UNEXPECTED).
extern "C"
{
    AAX_EXPORT acfResult ACFRegisterPlugin (IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition);
    AAX_EXPORT acfResult ACFRegisterComponent (IACFUnknown* pUnkHost, acfUInt32 index, IACFComponentDefinition** ppComponentDefinition);
    AAX_EXPORT acfResult ACFGetClassFactory (IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid, void** ppOut);
    AAX_EXPORT acfResult ACFCanUnloadNow (IACFUnknown* pUnkHost);
    AAX_EXPORT acfResult ACFStartup (IACFUnknown* pUnkHost);
    AAX_EXPORT acfResult ACFShutdown (IACFUnknown* pUnkHost);
    AAX_EXPORT acfResult ACFGetSDKVersion (acfUInt64* oSDKVersion);
}
