#pragma once

#include "AAX.h"
#include "AAX_IParameter.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;

/**
    Owns an effect's parameters, in order of addition, and finds them by
    identifier or position. Each added parameter is registered with the
    host's automation through the manager's automation delegate.
*/
class AAX_CParameterManager
{
public:
    AAX_CParameterManager() = default;
    ~AAX_CParameterManager();

    AAX_CParameterManager (const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator= (const AAX_CParameterManager&) = delete;

    /** The delegate handed to parameters added from now on. */
    void Initialize (AAX_IAutomationDelegate* automationDelegate);

    int32_t NumParameters() const;

    /** Takes ownership of the parameter. A null parameter, or one whose
        identifier is already taken, is ignored and stays the caller's. */
    void AddParameter (AAX_IParameter* parameter);

    /** Deletes every parameter, in order of addition. */
    void RemoveAllParameters();

    AAX_IParameter* GetParameterByID (AAX_CParamID identifier);
    const AAX_IParameter* GetParameterByID (AAX_CParamID identifier) const;

    /** Position in order of addition, or -1. */
    int32_t GetParameterIndex (AAX_CParamID identifier) const;

    AAX_IParameter* GetParameterByIndex (int32_t index);
    const AAX_IParameter* GetParameterByIndex (int32_t index) const;

private:
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
    std::vector<AAX_IParameter*> mParameters;
    std::map<std::string, AAX_IParameter*> mParametersByID;
};
