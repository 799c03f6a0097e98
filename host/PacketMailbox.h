// The latest packet posted for one data-in port, handed from the thread that
// generates coefficients to the audio thread without a lock: the writer
// stores the payload word by word between two sequence increments, and the
// reader retries until it has read a payload that no write overlapped.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

namespace zelkhost
{
    class PacketMailbox
    {
    public:
        explicit PacketMailbox (uint32_t packetSize)
            : mSize (packetSize), mWordCount ((packetSize + 3) / 4), mWords (new std::atomic<uint32_t>[mWordCount > 0 ? mWordCount : 1])
        {
            for (uint32_t i = 0; i < mWordCount; ++i)
                mWords[i].store (0, std::memory_order_relaxed);
        }

        uint32_t packetSize() const noexcept { return mSize; }

        /** Stores a payload (cut or zero-padded to the port's size). Not for the
            audio thread; several writers are serialised. */
        void post (const void* payload, uint32_t size)
        {
            const std::lock_guard<std::mutex> guard (mWriterLock);
            const auto* bytes = static_cast<const unsigned char*> (payload);

            mSequence.fetch_add (1, std::memory_order_acq_rel); // odd: a write is under way
            for (uint32_t i = 0; i < mWordCount; ++i)
            {
                unsigned char word[4] = {};
                for (uint32_t b = 0; b < 4; ++b)
                {
                    const auto offset = i * 4 + b;
                    if (offset < mSize && offset < size && bytes != nullptr)
                        word[b] = bytes[offset];
                }
                uint32_t value;
                std::memcpy (&value, word, 4);
                mWords[i].store (value, std::memory_order_relaxed);
            }
            mSequence.fetch_add (1, std::memory_order_release);  // even again: complete
        }

        /** Copies the latest complete payload into destination (packetSize bytes)
            when it changed since lastSequence; returns whether it copied.
            Lock-free and allocation-free: safe on the audio thread. */
        bool collect (void* destination, uint32_t& lastSequence) const noexcept
        {
            for (;;)
            {
                const auto before = mSequence.load (std::memory_order_acquire);
                if (before == lastSequence)
                    return false;
                if ((before & 1u) != 0)
                    continue;

                auto* out = static_cast<unsigned char*> (destination);
                for (uint32_t i = 0; i < mWordCount; ++i)
                {
                    const auto value = mWords[i].load (std::memory_order_relaxed);
                    unsigned char word[4];
                    std::memcpy (word, &value, 4);
                    for (uint32_t b = 0; b < 4 && i * 4 + b < mSize; ++b)
                        out[i * 4 + b] = word[b];
                }

                std::atomic_thread_fence (std::memory_order_acquire);
                if (mSequence.load (std::memory_order_relaxed) == before)
                {
                    lastSequence = before;
                    return true;
                }
            }
        }

    private:
        const uint32_t mSize, mWordCount;
        std::unique_ptr<std::atomic<uint32_t>[]> mWords;
        std::atomic<uint32_t> mSequence { 0 };
        std::mutex mWriterLock;
    };
}
