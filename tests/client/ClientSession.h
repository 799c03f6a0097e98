// The host side of the client tests: the client layer linked into the test
// program, started and registered by the host kit, and effect instances of
// the registered effect made and initialised the way the stand-in host
// makes them.
#pragma once

#include "ChunkRecord.h"
#include "EffectInstance.h"
#include "PluginHost.h"
#include "support/LinkedPlugin.h"

#include "client/EffectParameters.h"

#include <memory>
#include <string>

namespace clienttest
{
    /** The linked plug-in started by a host of its own for the object's
        lifetime. The effect it instantiates is the one the plug-in registered
        with the first session of the test program (registering builds a
        processor, so it is done once). */
    class ClientSession
    {
    public:
        ClientSession();

        zelkhost::PluginHost& host() { return mHost; }
        const zelkhost::RecordedEffect& effect() const { return mEffect; }

    private:
        const zelkhost::RecordedEffect& mEffect;
        zelkhost::PluginHost mHost;
        testsupport::ScopedStartup mStartup { mHost };
    };

    /** One instance of the registered effect, made through its creation
        procedure and initialised against its own controller, whose
        automation answers every set request through the effect. */
    class HostedEffect
    {
    public:
        explicit HostedEffect (ClientSession& session, int channels = 2, zelkhost::InstanceOptions options = {});

        zelkhost::EffectInstance& Instance() { return *instance; }
        AAX_IACFEffectParameters& Host() { return instance->parameters(); }
        aaxclient::EffectParameters& Effect();
        juce::AudioProcessor& Processor() { return Effect().getProcessor(); }
        zelkhost::HostController& Controller() { return instance->controller(); }

        /** The host's normalised value of a parameter. */
        double HostValue (const char* id);

        /** Saves a chunk as a host does: size first, then a record of exactly that size. */
        zelkhost::ChunkRecord SaveChunk (AAX_CTypeID chunkID);

        AAX_Result RestoreChunk (AAX_CTypeID chunkID, zelkhost::ChunkRecord& record) { return Host().SetChunk (chunkID, record.get()); }

        /** Uninitialises the effect and gives back the host's references. */
        void Close() { instance.reset(); }

    private:
        std::unique_ptr<zelkhost::EffectInstance> instance;
    };
}
