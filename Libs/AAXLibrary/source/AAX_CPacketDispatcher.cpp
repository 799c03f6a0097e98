#include "AAX_CPacketDispatcher.h"

#include "AAX_Errors.h"
#include "AAX_IController.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IParameter.h"

#include <cstring>

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    AAX_StLock_Guard guard (mLock);

    for (auto& entry : mPackets)
        delete entry.second;

    for (auto& entry : mHandlers)
        delete entry.second.second;

    mPackets.clear();
    mHandlers.clear();
}

void AAX_CPacketDispatcher::Initialize (AAX_IController* controller, AAX_IEffectParameters* effectParameters)
{
    mController = controller;
    mEffectParameters = effectParameters;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket (AAX_CParamID paramID, AAX_CFieldIndex fieldIndex, const AAX_IPacketHandler* handler)
{
    if (paramID == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    if (handler == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    if (fieldIndex < 0)
        return AAX_ERROR_INVALID_FIELD_INDEX;

    AAX_StLock_Guard guard (mLock);

    AAX_CPacket*& packet = mPackets[fieldIndex];

    if (packet == nullptr)
        packet = new AAX_CPacket (fieldIndex);

    mHandlers.emplace (std::string (paramID), Binding (packet, handler->Clone()));
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket (AAX_CParamID paramID, AAX_CFieldIndex fieldIndex)
{
    return RegisterPacket (paramID, fieldIndex, this, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
}

AAX_Result AAX_CPacketDispatcher::SetDirty (AAX_CParamID paramID, bool dirty)
{
    if (paramID == nullptr)
        return AAX_SUCCESS;

    AAX_StLock_Guard guard (mLock);

    const auto range = mHandlers.equal_range (paramID);

    for (auto binding = range.first; binding != range.second; ++binding)
        binding->second.first->SetDirty (dirty);

    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
    AAX_StLock_Guard guard (mLock);

    AAX_Result result = AAX_SUCCESS;

    for (auto& binding : mHandlers)
    {
        AAX_CPacket& packet = *binding.second.first;

        if (! packet.IsDirty())
            continue;

        const AAX_Result handled = binding.second.second->Call (binding.first.c_str(), packet);

        if (handled == AAX_SUCCESS)
        {
            result = mController != nullptr
                   ? mController->PostPacket (packet.GetID(), packet.GetData(), packet.GetSize())
                   : AAX_ERROR_NULL_OBJECT;
        }

        packet.SetDirty (false);
    }

    return result;
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket (AAX_CParamID paramID, AAX_CPacket& packet)
{
    if (mEffectParameters == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    AAX_IParameter* parameter = nullptr;

    if (mEffectParameters->GetParameter (paramID, &parameter) != AAX_SUCCESS || parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    bool boolValue = false;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    double doubleValue = 0.0;

    if (parameter->GetValueAsBool (&boolValue))
        *packet.GetPtr<int32_t>() = boolValue ? 1 : 0;
    else if (parameter->GetValueAsFloat (&floatValue))
        *packet.GetPtr<float>() = floatValue;
    else if (parameter->GetValueAsInt32 (&intValue))
        *packet.GetPtr<int32_t>() = intValue;
    else if (parameter->GetValueAsDouble (&doubleValue))
        std::memcpy (packet.GetPtr<double>(), &doubleValue, sizeof (doubleValue));
    else
        return AAX_ERROR_NULL_OBJECT;

    return AAX_SUCCESS;
}
