// Numeric values of the host's description properties and other host
// enumerations that the library itself reads or checks. The numbering is
// the host's; the library passes every other value through unchanged.
#pragma once

#include "AAX.h"

enum : AAX_EProperty
{
    AAX_eProperty_MinProp                    = 10,  ///< lowest property ID
    AAX_eProperty_PlugInID_Native            = 13,  ///< asks for a native process procedure
    AAX_eProperty_PlugInID_AudioSuite        = 14,  ///< asks for a native (offline) process procedure
    AAX_eProperty_PlugInID_TI                = 15,  ///< asks for a TI process procedure
    AAX_eProperty_NativeProcessProc          = 36,  ///< pointer: native process procedure
    AAX_eProperty_NativeInstanceInitProc     = 37,  ///< pointer: native instance-init procedure
    AAX_eProperty_NativeBackgroundProc       = 38,  ///< pointer: native background procedure
    AAX_eProperty_TIDLLFileName              = 39,  ///< pointer: TI DLL file name
    AAX_eProperty_TIProcessProc              = 40,  ///< pointer: TI process procedure symbol
    AAX_eProperty_TIInstanceInitProc         = 41,  ///< pointer: TI instance-init procedure symbol
    AAX_eProperty_TIBackgroundProc           = 42,  ///< pointer: TI background procedure symbol
    AAX_eProperty_InputStemFormat            = 51,  ///< stem format of the input
    AAX_eProperty_OutputStemFormat           = 52,  ///< stem format of the output
    AAX_eProperty_AudioBufferLength          = 54,  ///< native audio buffer length
    AAX_eProperty_MaxProp                    = 401  ///< highest property ID
};

/** Stem-format values that lie outside the regular range (as signed 32-bit). */
enum : int32_t
{
    AAX_eStemFormat_None           = static_cast<int32_t> (0xFFFF0000u),
    AAX_eStemFormat_Any            = static_cast<int32_t> (0xFF9C0000u),
    AAX_eStemFormat_MaxRegularCode = 0xCFFFF
};

/** Kinds of native view a view container may hold. */
enum : int32_t
{
    AAX_eViewContainer_Type_NULL  = 0,
    AAX_eViewContainer_Type_NSView = 1,
    AAX_eViewContainer_Type_UIView = 2,
    AAX_eViewContainer_Type_HWND   = 3
};

/** Procedure IDs given with AAX_IEffectDescriptor::AddProcPtr. */
inline constexpr AAX_CProcPtrID kAAX_ProcPtrID_Create_EffectParameters = "AAX_ProcPtrID_Create_EffectParameters";
inline constexpr AAX_CProcPtrID kAAX_ProcPtrID_Create_EffectGUI        = "AAX_ProcPtrID_Create_EffectGUI";
