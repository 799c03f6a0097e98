#include "client/ProcessProcedure.h"

#include "client/EffectParameters.h"

namespace aaxclient
{
    namespace
    {
        void processInstance (const AlgorithmContext& context) noexcept
        {
            // Without its instance the context cannot be run, nor can its
            // channel count be known to clear its output.
            if (context.instance == nullptr || context.instance->effect == nullptr)
                return;

            auto& effect = *context.instance->effect;
            const int32_t numSamples = context.bufferSize != nullptr ? *context.bufferSize : 0;

            if (context.preparedFlag == nullptr || *context.preparedFlag == 0 || ! effect.isPrepared())
            {
                effect.processAlgorithmBlock (nullptr, context.outputChannels, numSamples, true);
                return;
            }

            const bool bypassed = context.masterBypass != nullptr && *context.masterBypass >= 0.5f;
            effect.processAlgorithmBlock (context.inputChannels, context.outputChannels, numSamples, bypassed);
        }
    }

    void processAlgorithmInstances (AlgorithmContext* const instancesBegin[], const void* instancesEnd) noexcept
    {
        if (instancesBegin == nullptr || instancesEnd == nullptr)
            return;

        const auto* const end = static_cast<AlgorithmContext* const*> (instancesEnd);

        for (auto* walk = instancesBegin; walk < end; ++walk)
            if (*walk != nullptr)
                processInstance (**walk);
    }
}
