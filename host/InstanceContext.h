// The algorithm context of one instance, built from the fields the
// component descriptor recorded: one pointer slot per field index, each
// pointing at memory the host owns for the instance's lifetime (channel
// pointer arrays, the block length, data-in ports fed from the controller's
// packets, private data the effect fills through ResetFieldData).
#pragma once

#include "DescriptionRecord.h"
#include "PacketMailbox.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace zelkhost
{
    class InstanceContext
    {
    public:
        /** Lays out the context. Fails (with a reason) for fields this host cannot
            supply: side-chain, aux outputs, DMA, MIDI and unknown field kinds. */
        static std::unique_ptr<InstanceContext> build (const RecordedComponent& component, int inputChannels, int outputChannels,
                                                       int maximumBlockSize, float sampleRate, std::string& error);

        /** The pointer handed to the process procedure. */
        void* contextPointer() noexcept { return mSlots.data(); }

        struct PrivateBlock
        {
            AAX_CFieldIndex field;
            void* data;
            uint32_t size;
        };
        const std::vector<PrivateBlock>& privateBlocks() const noexcept { return mPrivateBlocks; }

        struct DataInPort
        {
            AAX_CFieldIndex field;
            PacketMailbox* mailbox;
        };
        std::vector<DataInPort> dataInPorts() const;

        int inputChannels() const noexcept { return static_cast<int> (mInputs.size()); }
        int outputChannels() const noexcept { return static_cast<int> (mOutputs.size()); }
        int maximumBlockSize() const noexcept { return mMaximumBlockSize; }

        /** Points the context at one block and brings the data-in ports up to
            date. numSamples must not exceed maximumBlockSize(). Audio-thread
            safe: no allocation, no lock. */
        void prepareBlock (const float* const* inputs, float* const* outputs, int numSamples) noexcept;

    private:
        InstanceContext() = default;

        void* allocate (std::size_t bytes);

        struct Port
        {
            AAX_CFieldIndex field;
            std::unique_ptr<PacketMailbox> mailbox;
            void* buffer;
            uint32_t lastSequence = 0;
        };

        std::vector<void*> mSlots;
        std::vector<std::unique_ptr<std::max_align_t[]>> mMemory;
        std::vector<float*> mInputs, mOutputs;
        int32_t mBufferLength = 0;
        float mSampleRate = 0.0f;
        uint64_t mClock = 0;
        int mMaximumBlockSize = 0;
        std::vector<Port> mPorts;
        std::vector<PrivateBlock> mPrivateBlocks;
    };
}
