#include "client/EffectParameters.h"

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CHostServices.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_IController.h"
#include "client/EffectIdentity.h"
#include "engine/Conversions.h"
#include "engine/FiniteParameters.h"
#include "engine/ValueTreeDataCheck.h"
#include "engine/MultiAudioProcessor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string_view>

namespace aaxclient
{
    namespace
    {
        // The processor parameter whose value the host is applying on this
        // thread right now: its change notification must not go back to the
        // host as a new request.
        thread_local const juce::AudioProcessorParameter* parameterSetByHost = nullptr;

        // The effect restoring its processor state on this thread: the
        // individual change notifications are skipped, every value is pushed
        // to the host once the restore is done.
        thread_local const EffectParameters* effectRestoringState = nullptr;

        template <typename Value>
        class ScopedThreadValue
        {
        public:
            ScopedThreadValue (Value& target, Value value) : slot (target), previous (target) { slot = value; }
            ~ScopedThreadValue() { slot = previous; }

            ScopedThreadValue (const ScopedThreadValue&) = delete;
            ScopedThreadValue& operator= (const ScopedThreadValue&) = delete;

        private:
            Value& slot;
            Value previous;
        };

        /** Host-side step count of a processor parameter: continuous ones
            report a huge count, the host gets at most 2048. */
        uint32_t hostStepCount (const juce::AudioProcessorParameter& parameter)
        {
            return static_cast<uint32_t> (juce::jlimit (2, 2048, parameter.getNumSteps()));
        }

        /** The text cut to at most maxLength bytes (none for a negative
            length) the way the library's number display cuts its own texts:
            a text that then ends in a decimal point loses the point. The cut
            never splits a character. */
        std::string shortenedForHost (const juce::String& text, int32_t maxLength)
        {
            auto bytes = text.toStdString();
            const auto limit = static_cast<size_t> (std::max<int32_t> (maxLength, 0));

            if (bytes.size() > limit)
            {
                auto end = limit;

                while (end > 0 && (static_cast<unsigned char> (bytes[end]) & 0xc0) == 0x80)
                    --end;

                bytes.resize (end);
            }

            if (maxLength >= 1 && ! bytes.empty() && bytes.back() == '.')
                bytes.pop_back();

            return bytes;
        }

        juce::AudioChannelSet channelSetForCount (int channels)
        {
            switch (channels)
            {
                case 1:  return juce::AudioChannelSet::mono();
                case 2:  return juce::AudioChannelSet::stereo();
                default: return juce::AudioChannelSet::disabled();
            }
        }

        std::unique_ptr<juce::AudioProcessor> makeProcessor()
        {
            return std::unique_ptr<juce::AudioProcessor> (createPluginFilter());
        }

        /** True when the processor's value is the host's request up to the
            processor's own rounding: float precision, and the parameter's
            steps (a choice takes the nearest entry, a switch is on or off). */
        bool holdsTheRequest (const juce::AudioProcessorParameter& parameter, double requested, float actual)
        {
            if (! (requested >= 0.0 && requested <= 1.0))
                return false;

            const float request = static_cast<float> (requested);

            if (request == actual)
                return true;

            if (auto* ranged = dynamic_cast<const juce::RangedAudioParameter*> (&parameter))
            {
                // Compared in the parameter's own units, where its steps and
                // float precision are known.
                const auto& range = ranged->getNormalisableRange();
                const double precision = 8.0 * std::numeric_limits<float>::epsilon()
                                       * std::max ({ 1.0f, std::abs (range.start), std::abs (range.end) });
                const double tolerance = 0.5 * static_cast<double> (range.interval) + precision;
                return std::abs (static_cast<double> (range.convertFrom0to1 (request))
                                 - static_cast<double> (range.convertFrom0to1 (actual))) <= tolerance;
            }

            const int steps = parameter.getNumSteps();
            const double halfStep = steps > 1 && steps < juce::AudioProcessor::getDefaultNumParameterSteps()
                                        ? 0.5 / static_cast<double> (steps - 1) : 0.0;
            return std::abs (requested - static_cast<double> (actual)) <= halfStep + 1.0e-6;
        }
    }

    //==============================================================================
    template <typename Operation>
    AAX_Result EffectParameters::guarded (Operation&& operation) noexcept
    {
        try
        {
            return operation();
        }
        catch (...)
        {
            return AAX_ERROR_UNKNOWN_EXCEPTION;
        }
    }

    EffectParameters::EffectParameters()
        : EffectParameters (nullptr)
    {
    }

    EffectParameters::EffectParameters (std::unique_ptr<juce::AudioProcessor> processorToUse)
        : processor (processorToUse != nullptr ? std::move (processorToUse) : makeProcessor())
    {
        numChannels = std::max (processor->getTotalNumInputChannels(), processor->getTotalNumOutputChannels());
    }

    EffectParameters::~EffectParameters()
    {
        if (listening)
            processor->removeListener (this);

        releaseProcessor();
    }

    //==============================================================================
    AAX_Result EffectParameters::EffectInit()
    {
        return guarded ([this] () -> AAX_Result
        {
            applyHostStemFormats();
            createHostParameters();
            addMasterBypassParameter();

            if (! listening)
            {
                processor->addListener (this);
                listening = true;
            }

            return AAX_SUCCESS;
        });
    }

    AAX_Result EffectParameters::Uninitialize()
    {
        return guarded ([this] () -> AAX_Result
        {
            if (listening)
            {
                processor->removeListener (this);
                listening = false;
            }

            releaseProcessor();
            links.clear();
            indexByHostID.clear();

            return AAX_CEffectParameters::Uninitialize();
        });
    }

    AAX_Result EffectParameters::TimerWakeup()
    {
        return guarded ([] () -> AAX_Result
        {
            JuceLibraryScope::dispatchPendingMessages();
            return AAX_SUCCESS;
        });
    }

    //==============================================================================
    void EffectParameters::createHostParameters()
    {
        links.clear();
        indexByHostID.clear();

        const auto& parameters = processor->getParameters();
        links.resize (static_cast<size_t> (parameters.size()));

        for (int index = 0; index < parameters.size(); ++index)
        {
            auto* parameter = parameters[index];
            std::string hostID;

            if (auto* withID = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
                hostID = withID->paramID.toStdString();

            // An ID the host could not keep apart from the others (too long
            // for a host identifier, empty, taken) falls back to the index.
            if (hostID.empty() || hostID.size() >= static_cast<size_t> (eParemeterDefaultMaxIdentifierSize)
                 || hostID == cDefaultMasterBypassID || indexByHostID.count (hostID) != 0)
                hostID = std::to_string (index);

            auto hostParameter = std::make_unique<AAX_CParameter<float>> (hostID.c_str(),
                                                                          AAX_CString (parameter->getName (31).toRawUTF8()),
                                                                          parameter->getDefaultValue(),
                                                                          AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                                          AAX_CNumberDisplayDelegate<float, 3, 0>(),
                                                                          parameter->isAutomatable());
            hostParameter->AddShortenedName (AAX_CString (parameter->getName (4).toRawUTF8()));
            hostParameter->SetNumberOfSteps (hostStepCount (*parameter));
            hostParameter->SetType (parameter->isDiscrete() ? AAX_eParameterType_Discrete
                                                            : AAX_eParameterType_Continuous);
            hostParameter->SetOrientation (parameter->isOrientationInverted()
                                               ? (AAX_eParameterOrientation_RightMinLeftMax | AAX_eParameterOrientation_TopMinBottomMax
                                                  | AAX_eParameterOrientation_RotaryRightMinLeftMax)
                                               : AAX_eParameterOrientation_Default);

            // Before the parameter meets the host's automation, so that
            // taking over the processor's current value posts nothing.
            const float currentValue = parameter->getValue();
            if (currentValue != parameter->getDefaultValue())
                hostParameter->UpdateNormalizedValue (currentValue);

            mParameterManager.AddParameter (hostParameter.get());

            if (mParameterManager.GetParameterByID (hostID.c_str()) != hostParameter.get())
                continue; // refused: the unique_ptr still owns it

            hostParameter.release();
            links[static_cast<size_t> (index)] = { parameter, hostID };
            indexByHostID.emplace (hostID, index);
        }
    }

    void EffectParameters::addMasterBypassParameter()
    {
        auto bypass = std::make_unique<AAX_CParameter<float>> (cDefaultMasterBypassID,
                                                               AAX_CString ("Master Bypass"),
                                                               0.0f,
                                                               AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                               AAX_CNumberDisplayDelegate<float, 3, 0>(),
                                                               true);
        bypass->SetNumberOfSteps (2);
        bypass->SetType (AAX_eParameterType_Discrete);

        mParameterManager.AddParameter (bypass.get());

        if (mParameterManager.GetParameterByID (cDefaultMasterBypassID) == bypass.get())
            bypass.release();

        mPacketDispatcher.RegisterPacket (cDefaultMasterBypassID, kFieldMasterBypass);
    }

    std::string EffectParameters::getHostParameterID (int processorParameterIndex) const
    {
        if (processorParameterIndex < 0 || processorParameterIndex >= static_cast<int> (links.size()))
            return {};

        return links[static_cast<size_t> (processorParameterIndex)].hostID;
    }

    juce::AudioProcessorParameter* EffectParameters::findProcessorParameter (AAX_CParamID parameterID) const
    {
        if (parameterID == nullptr)
            return nullptr;

        const auto found = indexByHostID.find (std::string_view (parameterID));
        return found != indexByHostID.end() ? links[static_cast<size_t> (found->second)].parameter : nullptr;
    }

    //==============================================================================
    // Host side to processor side

    AAX_Result EffectParameters::UpdateParameterNormalizedValue (AAX_CParamID parameterID, double value, AAX_EUpdateSource source)
    {
        return guarded ([&] () -> AAX_Result
        {
            auto* parameter = findProcessorParameter (parameterID);

            if (parameter == nullptr)
                return AAX_CEffectParameters::UpdateParameterNormalizedValue (parameterID, value, source);

            // The processor first, so that the host's parameter goes straight
            // to the value the processor holds and never shows the refused
            // request in between.
            return AAX_CEffectParameters::UpdateParameterNormalizedValue (parameterID, applyHostValue (*parameter, value), source);
        });
    }

    AAX_Result EffectParameters::SetParameterNormalizedValue (AAX_CParamID parameterID, double value)
    {
        return guarded ([&] () -> AAX_Result
        {
            const AAX_Result result = AAX_CEffectParameters::SetParameterNormalizedValue (parameterID, value);

            // The host also answers the request through
            // UpdateParameterNormalizedValue; applying the value at once keeps
            // the processor right for hosts that do not, and the later answer
            // then finds nothing to change.
            auto* parameter = findProcessorParameter (parameterID);

            if (result != AAX_SUCCESS || parameter == nullptr)
                return result;

            const double hostValue = applyHostValue (*parameter, value);

            if (hostValue != value)
                if (auto* hostParameter = mParameterManager.GetParameterByID (parameterID))
                    if (hostParameter->GetNormalizedValue() != hostValue)
                        hostParameter->UpdateNormalizedValue (hostValue);

            return result;
        });
    }

    double EffectParameters::applyHostValue (juce::AudioProcessorParameter& parameter, double normalisedValue)
    {
        if (std::isfinite (normalisedValue))
        {
            const float newValue = juce::jlimit (0.0f, 1.0f, static_cast<float> (normalisedValue));

            if (newValue != parameter.getValue())
            {
                const ScopedThreadValue<const juce::AudioProcessorParameter*> applying (parameterSetByHost, &parameter);
                parameter.setValueNotifyingHost (newValue);
            }
        }

        // The processor may keep another value than the host sent: a value
        // that is not a number or lies outside 0..1 is refused or limited,
        // the processor may move a value it cannot take. The host's value
        // then follows the processor's, so that the controls chunk, the
        // state chunk and the host all agree. Float rounding and a choice or
        // step snapping the request are no such difference.
        const float actual = parameter.getValue();
        return holdsTheRequest (parameter, normalisedValue, actual) ? normalisedValue : static_cast<double> (actual);
    }

    AAX_Result EffectParameters::GetParameterValueFromString (AAX_CParamID parameterID, double* value, const AAX_IString& text) const
    {
        return guarded ([&] () -> AAX_Result
        {
            auto* parameter = findProcessorParameter (parameterID);

            if (parameter == nullptr)
                return AAX_CEffectParameters::GetParameterValueFromString (parameterID, value, text);

            if (value == nullptr || text.Get() == nullptr)
                return AAX_ERROR_NULL_ARGUMENT;

            // The host's text is untrusted: bytes that are not UTF-8 are
            // refused before any conversion reads them as such. Once every
            // sequence is known to be complete, the text is decoded character
            // by character; overlong forms, which JUCE's check lets pass, do
            // not encode back to the same bytes.
            const char* bytes = text.Get();
            const size_t length = std::strlen (bytes);

            if (length > static_cast<size_t> (std::numeric_limits<int>::max())
                 || ! juce::CharPointer_UTF8::isValidString (bytes, static_cast<int> (length)))
                return AAX_ERROR_INVALID_STRING_CONVERSION;

            const juce::String decoded (juce::CharPointer_UTF8 (bytes), length);

            if (std::strcmp (decoded.toRawUTF8(), bytes) != 0)
                return AAX_ERROR_INVALID_STRING_CONVERSION;

            // Text that names none of the parameter's values ("abc", "nan",
            // "1e39", "1e38 kHz", a choice or switch text in the wrong letter
            // case) is no answer: the parameter would give its current value.
            if (auto* typed = dynamic_cast<const TextReadingParameter*> (parameter))
            {
                const auto normalised = typed->findValueForText (decoded);

                if (! normalised.has_value())
                    return AAX_ERROR_INVALID_STRING_CONVERSION;

                *value = static_cast<double> (*normalised);
                return AAX_SUCCESS;
            }

            // A float parameter of another kind reads text its own way (JUCE's
            // parser by default); it gets only text that starts with a finite
            // number.
            if (dynamic_cast<juce::AudioParameterFloat*> (parameter) != nullptr)
            {
                const auto number = Conversions::readLeadingNumber (decoded);

                if (! (number.has_value() && std::abs (*number) <= std::numeric_limits<float>::max()))
                    return AAX_ERROR_INVALID_STRING_CONVERSION;
            }

            *value = static_cast<double> (parameter->getValueForText (decoded));
            return AAX_SUCCESS;
        });
    }

    AAX_Result EffectParameters::GetParameterStringFromValue (AAX_CParamID parameterID, double value, AAX_IString* text, int32_t maxLength) const
    {
        return guarded ([&] () -> AAX_Result
        {
            auto* parameter = findProcessorParameter (parameterID);

            if (parameter == nullptr)
                return AAX_CEffectParameters::GetParameterStringFromValue (parameterID, value, text, maxLength);

            if (text == nullptr)
                return AAX_ERROR_NULL_ARGUMENT;

            const float normalised = std::isfinite (value) ? juce::jlimit (0.0f, 1.0f, static_cast<float> (value)) : 0.0f;
            // The parameter may shorten its text its own way first; the host's
            // limit holds whatever it does.
            const auto full = parameter->getText (normalised, std::max (0, static_cast<int> (maxLength)));
            text->Set (shortenedForHost (full, maxLength).c_str());
            return AAX_SUCCESS;
        });
    }

    //==============================================================================
    // Processor side to host side

    void EffectParameters::audioProcessorParameterChanged (juce::AudioProcessor*, int parameterIndex, float newValue)
    {
        if (effectRestoringState == this || parameterIndex < 0 || parameterIndex >= static_cast<int> (links.size()))
            return;

        const auto& link = links[static_cast<size_t> (parameterIndex)];

        if (link.parameter == nullptr || link.parameter == parameterSetByHost)
            return;

        // A value that is not finite was ignored by the parameter (JUCE still
        // passes it to the listeners); the host keeps the one it has.
        if (! std::isfinite (newValue))
            return;

        // The base version: a request to the host, which answers through
        // UpdateParameterNormalizedValue and finds the processor already there.
        AAX_CEffectParameters::SetParameterNormalizedValue (link.hostID.c_str(), static_cast<double> (newValue));
    }

    void EffectParameters::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details)
    {
        if (details.latencyChanged && Controller() != nullptr)
            Controller()->SetSignalLatency (processor->getLatencySamples());
    }

    void EffectParameters::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int parameterIndex)
    {
        const auto hostID = getHostParameterID (parameterIndex);

        if (! hostID.empty())
            TouchParameter (hostID.c_str());
    }

    void EffectParameters::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int parameterIndex)
    {
        const auto hostID = getHostParameterID (parameterIndex);

        if (! hostID.empty())
            ReleaseParameter (hostID.c_str());
    }

    void EffectParameters::pushAllValuesToHost()
    {
        for (const auto& link : links)
        {
            if (link.parameter == nullptr)
                continue;

            // A host value that differs from the processor's only by rounding
            // stays as it is, so that restoring a state the host's values
            // came from changes none of them.
            const float actual = link.parameter->getValue();
            double value = static_cast<double> (actual);

            if (auto* hostParameter = mParameterManager.GetParameterByID (link.hostID.c_str()))
                if (holdsTheRequest (*link.parameter, hostParameter->GetNormalizedValue(), actual))
                    value = hostParameter->GetNormalizedValue();

            AAX_CEffectParameters::SetParameterNormalizedValue (link.hostID.c_str(), value);
        }
    }

    //==============================================================================
    // Algorithm fields and preparation

    AAX_Result EffectParameters::ResetFieldData (AAX_CFieldIndex field, void* data, uint32_t size) const
    {
        return guarded ([&] () -> AAX_Result
        {
            // The host resets fields outside processing; this is where the
            // instance's own state is set up, as the field's owner.
            auto& self = const_cast<EffectParameters&> (*this);

            switch (field)
            {
                case kFieldInstance:
                    if (data == nullptr)
                        return AAX_ERROR_NULL_ARGUMENT;

                    if (size < sizeof (InstanceInfo) || reinterpret_cast<uintptr_t> (data) % alignof (InstanceInfo) != 0)
                    {
                        std::memset (data, 0, size);
                        return AAX_ERROR_INVALID_ARGUMENT;
                    }

                    self.placeInstanceInfo (data, size);
                    return AAX_SUCCESS;

                case kFieldPreparedFlag:
                    if (data == nullptr)
                        return AAX_ERROR_NULL_ARGUMENT;

                    std::memset (data, 0, size);
                    self.prepareProcessor (std::max (preparedBlockSize, kDefaultMaximumBlockSize));
                    self.fillPreparedFlag (data, size);
                    return AAX_SUCCESS;

                default:
                    return AAX_CEffectParameters::ResetFieldData (field, data, size);
            }
        });
    }

    void EffectParameters::placeInstanceInfo (void* data, uint32_t size)
    {
        std::memset (data, 0, size);
        new (data) InstanceInfo { this };
    }

    void EffectParameters::fillPreparedFlag (void* data, uint32_t size)
    {
        const int32_t one = 1;

        for (uint32_t offset = 0; offset + sizeof (one) <= size; offset += sizeof (one))
            std::memcpy (static_cast<char*> (data) + offset, &one, sizeof (one));
    }

    void EffectParameters::applyHostStemFormats()
    {
        if (Controller() == nullptr)
            return;

        AAX_EStemFormat inputFormat = 0, outputFormat = 0;

        if (Controller()->GetInputStemFormat (&inputFormat) != AAX_SUCCESS
             || Controller()->GetOutputStemFormat (&outputFormat) != AAX_SUCCESS)
            return;

        const auto inputSet  = channelSetForCount (channelCountOfStemFormat (inputFormat));
        const auto outputSet = channelSetForCount (channelCountOfStemFormat (outputFormat));

        if (inputSet.isDisabled() || outputSet.isDisabled())
            return;

        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (inputSet);
        layout.outputBuses.add (outputSet);

        // A pair the processor refuses (mono in, stereo out) keeps the layout
        // it has; the host only offers the components registered.
        if (processor->getBusesLayout() != layout && processor->checkBusesLayoutSupported (layout))
            processor->setBusesLayout (layout);

        numChannels = std::max (processor->getTotalNumInputChannels(), processor->getTotalNumOutputChannels());
    }

    void EffectParameters::prepareProcessor (int maximumBlockSize)
    {
        releaseProcessor();
        applyHostStemFormats();

        double sampleRate = kFallbackSampleRate;
        AAX_CSampleRate hostRate = 0.0f;

        if (Controller() != nullptr && Controller()->GetSampleRate (&hostRate) == AAX_SUCCESS
             && std::isfinite (hostRate) && hostRate > 0.0f)
            sampleRate = static_cast<double> (hostRate);

        processor->setRateAndBufferSizeDetails (sampleRate, maximumBlockSize);
        processor->prepareToPlay (sampleRate, maximumBlockSize);
        preparedSampleRate = sampleRate;
        preparedBlockSize = maximumBlockSize;
        prepared.store (true, std::memory_order_release);
    }

    void EffectParameters::releaseProcessor()
    {
        if (prepared.exchange (false))
            processor->releaseResources();
    }

    //==============================================================================
    // Audio

    void EffectParameters::processAlgorithmBlock (const float* const* inputs, float* const* outputs,
                                                  int32_t numSamples, bool bypassed) noexcept
    {
        if (outputs == nullptr || numSamples <= 0)
            return;

        const int channels = numChannels.load (std::memory_order_acquire);

        for (int channel = 0; channel < channels; ++channel)
            if (outputs[channel] == nullptr)
                return;

        const auto samples = static_cast<size_t> (numSamples);

        auto clearOutputs = [&]
        {
            for (int channel = 0; channel < channels; ++channel)
                std::memset (outputs[channel], 0, samples * sizeof (float));
        };

        if (! prepared.load (std::memory_order_acquire))
        {
            clearOutputs();
            return;
        }

        for (int channel = 0; channel < channels; ++channel)
        {
            const float* input = inputs != nullptr ? inputs[channel] : nullptr;

            if (input == nullptr)
                std::memset (outputs[channel], 0, samples * sizeof (float));
            else if (input != outputs[channel])
                std::memmove (outputs[channel], input, samples * sizeof (float));
        }

        try
        {
            // A block longer than the processor was prepared for goes through
            // in pieces of the prepared size: preparing again here would
            // allocate on the audio thread and reset the sound mid-stream.
            const juce::ScopedNoDenormals noDenormals;

            for (int start = 0; start < numSamples; start += preparedBlockSize)
            {
                const int length = std::min (preparedBlockSize, numSamples - start);
                blockBuffer.setDataToReferTo (outputs, channels, start, length);

                // Under the host's bypass the input passes as copied above;
                // the processor still hears of each block, so that it starts
                // afresh once the bypass ends instead of carrying on from the
                // audio before it.
                if (bypassed)
                    processor->processBlockBypassed (blockBuffer, midiBuffer);
                else
                    processor->processBlock (blockBuffer, midiBuffer);

                midiBuffer.clear();
            }
        }
        catch (...)
        {
            clearOutputs();
        }
    }

    //==============================================================================
    // Chunks

    AAX_Result EffectParameters::GetNumberOfChunks (int32_t* numChunks) const
    {
        const AAX_Result result = AAX_CEffectParameters::GetNumberOfChunks (numChunks);

        if (result == AAX_SUCCESS)
            ++*numChunks;

        return result;
    }

    AAX_Result EffectParameters::GetChunkIDFromIndex (int32_t index, AAX_CTypeID* chunkID) const
    {
        int32_t libraryChunks = 0;
        AAX_CEffectParameters::GetNumberOfChunks (&libraryChunks);

        if (index != libraryChunks)
            return AAX_CEffectParameters::GetChunkIDFromIndex (index, chunkID);

        if (chunkID == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        *chunkID = kProcessorStateChunkID;
        return AAX_SUCCESS;
    }

    juce::MemoryBlock EffectParameters::captureProcessorState() const
    {
        // The parameter store copies values into its tree on a timer of the
        // message thread; a chunk taken before that timer ran would miss the
        // latest changes, so the tree is brought up to date first.
        if (auto* multi = dynamic_cast<MultiAudioProcessor*> (processor.get()))
            multi->apvts.copyState();

        juce::MemoryBlock state;
        processor->getStateInformation (state);
        return state;
    }

    AAX_Result EffectParameters::GetChunkSize (AAX_CTypeID chunkID, uint32_t* size) const
    {
        if (chunkID != kProcessorStateChunkID)
            return guarded ([&] () -> AAX_Result { return AAX_CEffectParameters::GetChunkSize (chunkID, size); });

        return guarded ([&] () -> AAX_Result
        {
            if (size == nullptr)
                return AAX_ERROR_NULL_ARGUMENT;

            auto state = captureProcessorState();

            const std::lock_guard<std::mutex> lock (stateChunkMutex);
            stateChunkSnapshot = std::move (state);
            hasStateChunkSnapshot = true;
            *size = static_cast<uint32_t> (stateChunkSnapshot.getSize());
            return AAX_SUCCESS;
        });
    }

    AAX_Result EffectParameters::GetChunk (AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const
    {
        if (chunkID != kProcessorStateChunkID)
            return guarded ([&] () -> AAX_Result { return AAX_CEffectParameters::GetChunk (chunkID, chunk); });

        return guarded ([&] () -> AAX_Result
        {
            if (chunk == nullptr)
                return AAX_ERROR_NULL_ARGUMENT;

            // The host sized the record from GetChunkSize; the state written
            // is the one measured then, so it always fits.
            const std::lock_guard<std::mutex> lock (stateChunkMutex);

            if (! hasStateChunkSnapshot)
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;

            chunk->fSize = static_cast<int32_t> (stateChunkSnapshot.getSize());
            std::memset (chunk->fName, 0, sizeof (chunk->fName));
            std::strncpy (chunk->fName, kProcessorStateChunkName, sizeof (chunk->fName) - 1);

            if (stateChunkSnapshot.getSize() > 0)
                std::memcpy (chunk->fData, stateChunkSnapshot.getData(), stateChunkSnapshot.getSize());

            stateChunkSnapshot.reset();
            hasStateChunkSnapshot = false;
            return AAX_SUCCESS;
        });
    }

    AAX_Result EffectParameters::SetChunk (AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk)
    {
        if (chunkID != kProcessorStateChunkID)
            return guarded ([&] () -> AAX_Result { return AAX_CEffectParameters::SetChunk (chunkID, chunk); });

        return guarded ([&] () -> AAX_Result
        {
            if (chunk == nullptr)
                return AAX_ERROR_NULL_ARGUMENT;

            return restoreProcessorState (*chunk);
        });
    }

    AAX_Result EffectParameters::restoreProcessorState (const AAX_SPlugInChunk& chunk)
    {
        const int size = chunk.fSize > 0 ? chunk.fSize : 0;

        // Damaged state is refused whole: the processor keeps every value
        // rather than taking part of a cut-off tree, and JUCE's reader never
        // sees counts it would trust blindly.
        if (! valuetreedata::isCompleteValueTreeData (chunk.fData, static_cast<size_t> (size)))
        {
            AAX_CHostServices::Trace (AAX_eTracePriority_Critical,
                                      "SetChunk 'juce': %d bytes of damaged processor state ignored", size);
            return AAX_ERROR_MALFORMED_CHUNK;
        }

        {
            const ScopedThreadValue<const EffectParameters*> restoring (effectRestoringState, this);
            processor->setStateInformation (chunk.fData, size);
        }

        pushAllValuesToHost();
        return AAX_SUCCESS;
    }
}
