// The host's collection interface: receives the plug-in's effects and
// package facts during registration (component AAXCompID_AAXCollection).
#pragma once

#include "IACFUnknown.h"

class AAX_IACFCollection : public IACFUnknown
{
public:
    virtual AAX_Result AddEffect (const char* inEffectID, IACFUnknown* inEffectDescriptor) = 0;
    virtual AAX_Result SetManufacturerName (const char* inPackageName) = 0;
    virtual AAX_Result AddPackageName (const char* inPackageName) = 0;
    virtual AAX_Result SetPackageVersion (uint32_t inVersion) = 0;
    virtual AAX_Result SetProperties (IACFUnknown* inProperties) = 0;

protected:
    ~AAX_IACFCollection() = default;
};
