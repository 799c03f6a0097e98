// One instance of a registered effect, driven the way an AAX host drives it:
// made through the recorded create procedure, initialised with this host's
// controller, fed parameter changes through the host's automation, run
// through the component's native process procedure on an algorithm context
// built from the recorded fields, asked for and given its chunks, shown
// through its GUI object, and uninitialised and released at the end.
#pragma once

#include "AAX_IACFEffectGUI.h"
#include "AAX_IACFEffectParameters.h"
#include "ChunkSet.h"
#include "DescriptionRecord.h"
#include "InstanceContext.h"
#include "InstanceObjects.h"
#include "InterfaceVersions.h"

#include <memory>
#include <string>
#include <vector>

namespace zelkhost
{
    class PluginHost;

    class EffectInstance
    {
    public:
        /** Creates the effect-parameters object for the component that takes and
            gives `channels` channels, builds its context and initialises it
            (Initialize, then a first GenerateCoefficients). Null with a reason
            on failure. Call startProcessing() before process(). The host keeps the
            instance's controller and view container, so it must outlive the instance. */
        static std::unique_ptr<EffectInstance> create (PluginHost& host, const RecordedEffect& effect, int channels,
                                                       const InstanceOptions& options, std::string& error);

        /** Closes the view, uninitialises and releases whatever is still alive. */
        ~EffectInstance();

        EffectInstance (const EffectInstance&) = delete;
        EffectInstance& operator= (const EffectInstance&) = delete;

        AAX_IACFEffectParameters& parameters() noexcept { return *mEffect; }
        const AAX_IACFEffectParameters& parameters() const noexcept { return *mEffect; }
        HostController& controller() noexcept { return *mController; }
        int channels() const noexcept { return mContext->inputChannels(); }
        int maximumBlockSize() const noexcept { return mContext->maximumBlockSize(); }

        //==========================================================================
        std::vector<std::string> parameterIDs() const;

        /** Moves a parameter as host automation does: the effect is asked to set
            the value (it requests it from the host, which answers with
            UpdateParameterNormalizedValue), then coefficients are generated so
            the change reaches the algorithm. */
        AAX_Result automate (const std::string& id, double normalizedValue);

        AAX_Result normalizedValue (const std::string& id, double& value) const;

        //==========================================================================
        /** Gets the instance ready to process, as a host does before playback:
            ResetFieldData on every private-data field of the context (the
            effect prepares its algorithm there), then GenerateCoefficients.
            Called again while processing is stopped, it prepares again. */
        AAX_Result startProcessing();

        /** The host's idle call: TimerWakeup on the effect and an open GUI. */
        void idle();

        /** Processes a block of any length (split into blocks the context
            holds). Audio thread: allocates nothing and takes no lock. */
        void process (const float* const* inputs, float* const* outputs, int numSamples) noexcept;

        //==========================================================================
        AAX_Result saveChunks (ChunkSet& chunks) const;
        AAX_Result restoreChunks (const ChunkSet& chunks);

        /** restoreChunks that lets each chunk's data go once its record is
            made, before the plug-in reads it. */
        AAX_Result restoreChunks (ChunkSet&& chunks);

        /** CompareActiveChunk for every chunk; equal only when all compare equal. */
        AAX_Result compareChunks (const ChunkSet& chunks, bool& equal) const;

        //==========================================================================
        /** Creates the GUI object (once), initialises it and hands it a view container. */
        AAX_Result openView();
        AAX_Result closeView();

        /** Hands the GUI object a notification (NotificationReceived). */
        AAX_Result notifyView (AAX_CTypeID type, const void* data, uint32_t size);

        /** The GUI object's view size (GetViewSize). */
        AAX_Result viewSize (AAX_Point& size) const;
        bool isViewOpen() const noexcept { return mViewOpen; }
        /** The GUI object once a view was opened, else null. */
        AAX_IACFEffectGUI* gui() noexcept { return mGUI; }
        const HostViewContainer* viewContainer() const noexcept { return mViewContainer; }

        //==========================================================================
        /** Uninitialises the GUI object and the effect; idempotent. */
        AAX_Result uninitialize();

        /** Drops every reference the host holds on the plug-in's objects. */
        void release();

    private:
        EffectInstance (PluginHost& host, const InstanceOptions& options);
        AAX_Result initialize();

        PluginHost& mHost;
        InstanceOptions mOptions;
        std::string mEffectID;
        AAX_CProcessProc mProcess = nullptr;
        AAX_CCreateObjectProc mCreateGUI = nullptr;

        HostController* mController = nullptr;        ///< kept by the host's registry
        std::unique_ptr<InstanceContext> mContext;
        HostViewContainer* mViewContainer = nullptr;  ///< kept by the host's registry

        IACFUnknown* mEffectObject = nullptr;       ///< one reference, taken at creation
        AAX_IACFEffectParameters* mEffect = nullptr; ///< one reference (version 1 at least)
        IACFUnknown* mGUIObject = nullptr;
        AAX_IACFEffectGUI* mGUI = nullptr;

        bool mInitialized = false, mGUIInitialized = false, mViewOpen = false;
    };
}
