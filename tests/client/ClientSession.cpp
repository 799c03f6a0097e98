#include "ClientSession.h"

#include "PluginSession.h"

#include <stdexcept>

namespace clienttest
{
    namespace
    {
        const zelkhost::RecordedEffect& registeredEffect()
        {
            static const zelkhost::RecordedEffect effect = []
            {
                zelkhost::PluginSession session;
                std::string error;
                if (! session.open (testsupport::linkedEntryPoints(), error))
                    throw std::runtime_error ("the linked plug-in did not register: " + error);
                return session.effect();
            }();
            return effect;
        }
    }

    ClientSession::ClientSession() : mEffect (registeredEffect())
    {
    }

    HostedEffect::HostedEffect (ClientSession& session, int channels, zelkhost::InstanceOptions options)
    {
        std::string error;
        instance = zelkhost::EffectInstance::create (session.host(), session.effect(), channels, options, error);
        if (instance == nullptr)
            throw std::runtime_error ("no effect instance: " + error);
    }

    aaxclient::EffectParameters& HostedEffect::Effect()
    {
        return dynamic_cast<aaxclient::EffectParameters&> (Host());
    }

    double HostedEffect::HostValue (const char* id)
    {
        double value = -1.0;
        if (instance->normalizedValue (id, value) != AAX_SUCCESS)
            throw std::runtime_error (std::string ("no host parameter ") + id);
        return value;
    }

    zelkhost::ChunkRecord HostedEffect::SaveChunk (AAX_CTypeID chunkID)
    {
        uint32_t size = 0;
        if (Host().GetChunkSize (chunkID, &size) != AAX_SUCCESS)
            throw std::runtime_error ("GetChunkSize failed");

        zelkhost::ChunkRecord record (size);
        record.get()->fChunkID = chunkID;
        if (Host().GetChunk (chunkID, record.get()) != AAX_SUCCESS)
            throw std::runtime_error ("GetChunk failed");
        if (static_cast<uint32_t> (record.get()->fSize) != size)
            throw std::runtime_error ("GetChunk wrote another size than GetChunkSize gave");
        return record;
    }
}
