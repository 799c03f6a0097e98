#pragma once

#include "AAX.h"
#include "AAX_CMutex.h"
#include "AAX_Errors.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class AAX_IController;
class AAX_IEffectParameters;

//==============================================================================
/** The data posted to one field of the host's algorithm context. */
class AAX_CPacket
{
public:
    explicit AAX_CPacket (AAX_CFieldIndex fieldIndex)
        : mFieldIndex (fieldIndex), mData (8, 0)
    {
    }

    AAX_CFieldIndex GetID() const { return mFieldIndex; }
    bool IsDirty() const { return mDirty; }
    void SetDirty (bool dirty) { mDirty = dirty; }
    uint32_t GetSize() const { return mDataSize; }

    /** Makes the packet hold one T (new bytes zero) and returns where to write it. */
    template <typename T>
    T* GetPtr()
    {
        mDataSize = static_cast<uint32_t> (sizeof (T));
        mData.resize (sizeof (T), 0);
        return reinterpret_cast<T*> (mData.data());
    }

    /** The bytes to post; throws std::out_of_range for an empty buffer. */
    const void* GetData() const { return &mData.at (0); }

private:
    const AAX_CFieldIndex mFieldIndex;
    bool mDirty = true;
    uint32_t mDataSize = 0;
    std::vector<uint8_t> mData;
};

//==============================================================================
/** Fills a packet for a parameter. */
class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;

    /** A new heap copy, owned by the caller. */
    virtual AAX_IPacketHandler* Clone() const = 0;
    virtual AAX_Result Call (AAX_CParamID paramID, AAX_CPacket& packet) const = 0;
};

/** A packet handler that calls a member function of a worker object, with
    or without the parameter ID. */
template <class Worker>
class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    typedef AAX_Result (Worker::*PacketFunction) (AAX_CPacket&);
    typedef AAX_Result (Worker::*ParamPacketFunction) (AAX_CParamID, AAX_CPacket&);

    AAX_CPacketHandler (Worker* worker, PacketFunction function)
        : mWorker (worker), mPacketFunction (function)
    {
    }

    AAX_CPacketHandler (Worker* worker, ParamPacketFunction function)
        : mWorker (worker), mParamPacketFunction (function)
    {
    }

    AAX_CPacketHandler* Clone() const override { return new AAX_CPacketHandler (*this); }

    AAX_Result Call (AAX_CParamID paramID, AAX_CPacket& packet) const override
    {
        if (mWorker != nullptr && mParamPacketFunction != nullptr)
            return (mWorker->*mParamPacketFunction) (paramID, packet);

        if (mWorker != nullptr && mPacketFunction != nullptr)
            return (mWorker->*mPacketFunction) (packet);

        return AAX_ERROR_NULL_OBJECT;
    }

private:
    Worker* mWorker = nullptr;
    PacketFunction mPacketFunction = nullptr;
    ParamPacketFunction mParamPacketFunction = nullptr;
};

//==============================================================================
/**
    Binds parameter IDs to the packets of the host's algorithm fields.

    A parameter change marks its packets dirty; Dispatch() has each dirty
    packet filled by its handler and posted through the controller. The
    tables are guarded by an owner-aware mutex, so a handler may call back
    into the dispatcher on the same thread.
*/
class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher() = default;
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher (const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator= (const AAX_CPacketDispatcher&) = delete;

    /** Neither object is owned. */
    void Initialize (AAX_IController* controller, AAX_IEffectParameters* effectParameters);

    /** Binds the parameter to the field's packet through a copy of the
        handler. The packet is made (dirty) when the field has none yet. */
    AAX_Result RegisterPacket (AAX_CParamID paramID, AAX_CFieldIndex fieldIndex, const AAX_IPacketHandler* handler);

    /** Binds the parameter to the field with GenerateSingleValuePacket as handler. */
    AAX_Result RegisterPacket (AAX_CParamID paramID, AAX_CFieldIndex fieldIndex);

    /** Binds the parameter to the field with a member function of a worker. */
    template <class Worker, typename Function>
    AAX_Result RegisterPacket (AAX_CParamID paramID, AAX_CFieldIndex fieldIndex, Worker* worker, Function function)
    {
        const AAX_CPacketHandler<Worker> handler (worker, function);
        return RegisterPacket (paramID, fieldIndex, &handler);
    }

    /** Marks every packet bound to the parameter. */
    AAX_Result SetDirty (AAX_CParamID paramID, bool dirty);

    /** Fills and posts every dirty packet; the result of the last posting,
        or 0 when nothing was posted. */
    AAX_Result Dispatch();

    /** Handler that puts the parameter's value into the packet: bool as a
        32-bit 0 or 1, float, int32 or double as they are. */
    AAX_Result GenerateSingleValuePacket (AAX_CParamID paramID, AAX_CPacket& packet);

private:
    typedef std::pair<AAX_CPacket*, AAX_IPacketHandler*> Binding;

    std::map<AAX_CFieldIndex, AAX_CPacket*> mPackets;
    std::multimap<std::string, Binding> mHandlers;
    AAX_IController* mController = nullptr;
    AAX_IEffectParameters* mEffectParameters = nullptr;
    AAX_CMutex mLock;
};
