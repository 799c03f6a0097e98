// The effect-parameters object of one plug-in instance: the adapter between
// the host's effect-parameters interface (through the library's
// AAX_CEffectParameters) and the plug-in's processor.
//
// It owns the processor, mirrors each processor parameter as a host-visible
// float parameter plus the host's "Master Bypass", keeps the two sides in
// step in both directions, saves and restores the processor's state as the
// chunk 'juce' next to the library's 'elck', and runs the processor for the
// process procedure (see AlgorithmContext.h).
#pragma once

#include "AAX_CEffectParameters.h"
#include "client/AlgorithmContext.h"
#include "client/JuceLibraryScope.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace aaxclient
{
    /** Four-character ID of the chunk that carries the processor's state. */
    constexpr AAX_CTypeID kProcessorStateChunkID = 0x6A756365u; // 'juce'

    /** Display name of the processor-state chunk. */
    inline constexpr const char* kProcessorStateChunkName = "JUCE Plug-in State";

    /** Block size the processor is prepared for; longer host blocks go through in pieces of this size. */
    constexpr int kDefaultMaximumBlockSize = 1024;

    /** Sample rate used when the host's controller cannot tell one. */
    constexpr double kFallbackSampleRate = 44100.0;

    class EffectParameters : public AAX_CEffectParameters,
                             private juce::AudioProcessorListener
    {
    public:
        /** Makes the processor with createPluginFilter(). */
        EffectParameters();

        /** Takes a processor made elsewhere (tests); null makes one. */
        explicit EffectParameters (std::unique_ptr<juce::AudioProcessor> processorToUse);

        ~EffectParameters() override;

        juce::AudioProcessor& getProcessor() noexcept { return *processor; }

        //==========================================================================
        // Life cycle
        AAX_Result EffectInit() override;
        AAX_Result Uninitialize() override;
        AAX_Result TimerWakeup() override;

        // Parameters: host side to processor side
        AAX_Result UpdateParameterNormalizedValue (AAX_CParamID parameterID, double value, AAX_EUpdateSource source) override;
        AAX_Result SetParameterNormalizedValue (AAX_CParamID parameterID, double value) override;
        AAX_Result GetParameterValueFromString (AAX_CParamID parameterID, double* value, const AAX_IString& text) const override;
        AAX_Result GetParameterStringFromValue (AAX_CParamID parameterID, double value, AAX_IString* text, int32_t maxLength) const override;

        // Algorithm fields
        AAX_Result ResetFieldData (AAX_CFieldIndex field, void* data, uint32_t size) const override;

        // Chunks: 'elck' from the library, then 'juce'
        AAX_Result GetNumberOfChunks (int32_t* numChunks) const override;
        AAX_Result GetChunkIDFromIndex (int32_t index, AAX_CTypeID* chunkID) const override;
        AAX_Result GetChunkSize (AAX_CTypeID chunkID, uint32_t* size) const override;
        AAX_Result GetChunk (AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const override;
        AAX_Result SetChunk (AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;

        //==========================================================================
        /** Runs one block for the process procedure; a block longer than the
            prepared size goes to the processor in pieces of that size. Input
            and output may be the same buffers. */
        void processAlgorithmBlock (const float* const* inputs, float* const* outputs,
                                    int32_t numSamples, bool bypassed) noexcept;

        /** True once ResetFieldData has prepared the processor. */
        bool isPrepared() const noexcept { return prepared.load (std::memory_order_acquire); }

        /** Channels of the main input and output, as the host's stem formats set them. */
        int getNumChannels() const noexcept { return numChannels.load (std::memory_order_acquire); }

        /** Sample rate and block size the processor was last prepared with. */
        double getPreparedSampleRate() const noexcept { return preparedSampleRate; }
        int getPreparedBlockSize() const noexcept { return preparedBlockSize; }

        /** Host parameter ID of the processor parameter at this index (empty when none). */
        std::string getHostParameterID (int processorParameterIndex) const;

    private:
        struct ParameterLink
        {
            juce::AudioProcessorParameter* parameter = nullptr;
            std::string hostID;
        };

        // AudioProcessorListener: processor-side changes go to the host.
        void audioProcessorParameterChanged (juce::AudioProcessor*, int parameterIndex, float newValue) override;
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override;
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int parameterIndex) override;
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int parameterIndex) override;

        void createHostParameters();
        void addMasterBypassParameter();
        juce::AudioProcessorParameter* findProcessorParameter (AAX_CParamID parameterID) const;
        /** Gives the processor the host's value; returns the value the host
            should hold: the request, or the processor's where it differs by
            more than rounding. */
        double applyHostValue (juce::AudioProcessorParameter& parameter, double normalisedValue);
        void pushAllValuesToHost();

        void applyHostStemFormats();
        void prepareProcessor (int maximumBlockSize);
        void releaseProcessor();
        void placeInstanceInfo (void* data, uint32_t size);
        void fillPreparedFlag (void* data, uint32_t size);

        juce::MemoryBlock captureProcessorState() const;
        AAX_Result restoreProcessorState (const AAX_SPlugInChunk& chunk);

        template <typename Operation>
        static AAX_Result guarded (Operation&& operation) noexcept;

        JuceLibraryScope juceScope;
        std::unique_ptr<juce::AudioProcessor> processor;

        std::vector<ParameterLink> links;                        // by processor parameter index
        std::map<std::string, int, std::less<>> indexByHostID;   // host ID -> processor parameter index
        bool listening = false;

        // Snapshot of the state between GetChunkSize and GetChunk for 'juce'.
        mutable std::mutex stateChunkMutex;
        mutable juce::MemoryBlock stateChunkSnapshot;
        mutable bool hasStateChunkSnapshot = false;

        // Processing; written only while the host is not processing.
        std::atomic<bool> prepared { false };
        std::atomic<int> numChannels { 2 };
        double preparedSampleRate = 0.0;
        int preparedBlockSize = 0;
        juce::AudioBuffer<float> blockBuffer;
        juce::MidiBuffer midiBuffer;
    };
}
