// Which host interfaces and versions the stand-in host offers. Everything is
// offered by default; tests withhold versions to drive the plug-in's
// "missing version" paths, or make host calls fail or throw.
#pragma once

#include "AAX.h"
#include "AAX_Errors.h"

namespace zelkhost
{
    /** A set of interface versions: bit v set means version v is answered. */
    using VersionSet = unsigned;

    constexpr VersionSet noVersions = 0;
    constexpr VersionSet versionsUpTo (int highest) noexcept { return highest <= 0 ? 0u : ((1u << (highest + 1)) - 2u); }
    constexpr VersionSet onlyVersion (int version) noexcept { return 1u << version; }
    constexpr bool offers (VersionSet set, int version) noexcept { return ((set >> version) & 1u) != 0; }

    /** What the host unknown, its component factory and the description objects offer. */
    struct HostOptions
    {
        bool componentFactory = true;   ///< the host unknown answers the component factory
        bool pluginDefinition = true;   ///< the host unknown answers the plug-in definition
        bool descriptionHost = true;    ///< the host unknown answers the description host
        bool definition = true;         ///< the host unknown answers the definition interface
        bool featureInfo = true;        ///< the description host answers feature requests
        bool propertyMapDescriptionHost = false; ///< property maps answer the description host too

        VersionSet hostServices        = versionsUpTo (3);
        VersionSet collection          = versionsUpTo (1);
        VersionSet effectDescriptor    = versionsUpTo (2);
        VersionSet componentDescriptor = versionsUpTo (3);
        VersionSet propertyMap         = versionsUpTo (3);
        VersionSet pageTable           = versionsUpTo (2);

        /** What the collection answers to AddEffect (anything but 0 refuses the effect). */
        AAX_Result collectionAddEffectResult = 0;

        /** What component descriptors answer to a process-procedure registration
            (anything but 0 refuses it). */
        AAX_Result processProcResult = 0;

        /** What property maps made from now on answer to RemoveProperty
            (anything but 0 keeps the property). */
        AAX_Result propertyRemovalResult = 0;

        /** Host-services calls throw instead of answering (a broken host). */
        bool hostServicesThrow = false;

        /** The component factory throws instead of making a component (a broken host). */
        bool componentFactoryThrows = false;
    };

    /** What the controller unknown of one instance offers. */
    struct InstanceOptions
    {
        VersionSet controller    = versionsUpTo (5);
        VersionSet transport     = versionsUpTo (2);
        VersionSet viewContainer = versionsUpTo (2);
        bool automationDelegate = true;
        bool componentFactory = true;   ///< the controller answers the host's component factory

        float sampleRate = 48000.0f;
        int maximumBlockSize = 1024;

        /** What the view container reports as its native view (type 0: none). */
        int32_t viewType = 0;
        void* nativeView = nullptr;

        /** What the controller answers to PostPacket and to the page-table
            copies, and the view container to parameter mouse gestures
            (unimplemented: the plug-in's own control handles the gesture). */
        AAX_Result postPacketResult = 0;
        AAX_Result tableCopyResult = 0;
        AAX_Result gestureResult = AAX_ERROR_UNIMPLEMENTED;
    };
}
