// What the host says about one of its features. Implemented by
// AAX_VFeatureInfo; objects are owned by whoever acquired them.
#pragma once

#include "AAX.h"

class AAX_IPropertyMap;

class AAX_IFeatureInfo
{
public:
    virtual ~AAX_IFeatureInfo() = default;

    virtual AAX_Result SupportLevel (AAX_ESupportLevel& outSupportLevel) const = 0;
    /** A new property map with the feature's details (caller owns it), or null. */
    virtual const AAX_IPropertyMap* AcquireProperties() const = 0;
    virtual const AAX_Feature_UID& ID() const = 0;
};
