#include "AAX_CParameterManager.h"

#include <cstring>

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize (AAX_IAutomationDelegate* automationDelegate)
{
    mAutomationDelegate = automationDelegate;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t> (mParameters.size());
}

void AAX_CParameterManager::AddParameter (AAX_IParameter* parameter)
{
    if (parameter == nullptr)
        return;

    const std::string identifier (parameter->Identifier() != nullptr ? parameter->Identifier() : "");

    if (mParametersByID.count (identifier) != 0)
        return;

    parameter->SetAutomationDelegate (mAutomationDelegate);
    mParameters.push_back (parameter);
    mParametersByID.emplace (identifier, parameter);
}

void AAX_CParameterManager::RemoveAllParameters()
{
    // Cleared before deleting, so that no lookup can reach a dying parameter.
    std::vector<AAX_IParameter*> parameters;
    parameters.swap (mParameters);
    mParametersByID.clear();

    for (auto* parameter : parameters)
        delete parameter;
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID (AAX_CParamID identifier)
{
    return const_cast<AAX_IParameter*> (static_cast<const AAX_CParameterManager&> (*this).GetParameterByID (identifier));
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID (AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return nullptr;

    const auto found = mParametersByID.find (identifier);
    return found != mParametersByID.end() ? found->second : nullptr;
}

int32_t AAX_CParameterManager::GetParameterIndex (AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return -1;

    for (size_t i = 0; i < mParameters.size(); ++i)
    {
        const char* candidate = mParameters[i]->Identifier();

        if (candidate != nullptr && std::strcmp (candidate, identifier) == 0)
            return static_cast<int32_t> (i);
    }

    return -1;
}

AAX_IParameter* AAX_CParameterManager::GetParameterByIndex (int32_t index)
{
    return const_cast<AAX_IParameter*> (static_cast<const AAX_CParameterManager&> (*this).GetParameterByIndex (index));
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByIndex (int32_t index) const
{
    if (index < 0 || index >= NumParameters())
        return nullptr;

    return mParameters[static_cast<size_t> (index)];
}
