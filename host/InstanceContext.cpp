#include "InstanceContext.h"

#include <algorithm>

namespace zelkhost
{
    void* InstanceContext::allocate (std::size_t bytes)
    {
        const auto units = std::max<std::size_t> (1, (bytes + sizeof (std::max_align_t) - 1) / sizeof (std::max_align_t));
        mMemory.emplace_back (new std::max_align_t[units]());
        return mMemory.back().get();
    }

    std::unique_ptr<InstanceContext> InstanceContext::build (const RecordedComponent& component, int inputChannels, int outputChannels,
                                                             int maximumBlockSize, float sampleRate, std::string& error)
    {
        if (inputChannels < 0 || outputChannels < 0 || maximumBlockSize < 1)
        {
            error = "invalid channel counts or block size";
            return nullptr;
        }

        constexpr AAX_CFieldIndex largestFieldIndex = 1023;
        AAX_CFieldIndex highest = -1;
        for (const auto& field : component.fields)
        {
            if (field.index < 0 || field.index > largestFieldIndex)
            {
                error = "field index " + std::to_string (field.index) + " is out of range";
                return nullptr;
            }
            highest = std::max (highest, field.index);
        }

        std::unique_ptr<InstanceContext> context (new InstanceContext());
        context->mSlots.assign (static_cast<std::size_t> (highest + 1), nullptr);
        context->mInputs.assign (static_cast<std::size_t> (inputChannels), nullptr);
        context->mOutputs.assign (static_cast<std::size_t> (outputChannels), nullptr);
        context->mMaximumBlockSize = maximumBlockSize;
        context->mSampleRate = sampleRate;

        for (const auto& field : component.fields)
        {
            void*& slot = context->mSlots[static_cast<std::size_t> (field.index)];
            switch (field.kind)
            {
                case FieldKind::audioIn:           slot = context->mInputs.data(); break;
                case FieldKind::audioOut:          slot = context->mOutputs.data(); break;
                case FieldKind::audioBufferLength: slot = &context->mBufferLength; break;
                case FieldKind::sampleRate:        slot = &context->mSampleRate; break;
                case FieldKind::clock:             slot = &context->mClock; break;

                case FieldKind::dataInPort:
                {
                    Port port { field.index, std::make_unique<PacketMailbox> (field.size), context->allocate (field.size) };
                    slot = port.buffer;
                    context->mPorts.push_back (std::move (port));
                    break;
                }

                case FieldKind::privateData:
                    slot = context->allocate (field.size);
                    context->mPrivateBlocks.push_back ({ field.index, slot, field.size });
                    break;

                case FieldKind::temporaryData:
                    slot = context->allocate (static_cast<std::size_t> (field.size) * static_cast<std::size_t> (maximumBlockSize));
                    break;

                case FieldKind::meters:
                    slot = context->allocate (sizeof (float) * std::max<uint32_t> (1, field.count));
                    break;

                case FieldKind::reservedField:
                    break;

                case FieldKind::sideChainIn:
                case FieldKind::auxOutputStem:
                case FieldKind::dmaInstance:
                case FieldKind::midiNode:
                    error = "the host cannot supply field " + std::to_string (field.index) + " (side-chain, aux output, DMA or MIDI)";
                    return nullptr;
            }
        }
        return context;
    }

    std::vector<InstanceContext::DataInPort> InstanceContext::dataInPorts() const
    {
        std::vector<DataInPort> ports;
        for (const auto& port : mPorts)
            ports.push_back ({ port.field, port.mailbox.get() });
        return ports;
    }

    void InstanceContext::prepareBlock (const float* const* inputs, float* const* outputs, int numSamples) noexcept
    {
        for (std::size_t channel = 0; channel < mInputs.size(); ++channel)
            mInputs[channel] = const_cast<float*> (inputs[channel]);
        for (std::size_t channel = 0; channel < mOutputs.size(); ++channel)
            mOutputs[channel] = outputs[channel];

        mBufferLength = numSamples;
        for (auto& port : mPorts)
            port.mailbox->collect (port.buffer, port.lastSequence);
    }
}
