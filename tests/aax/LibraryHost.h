// The host of the library's own tests: the host kit, set up the way these
// tests mostly want it, and the library's GetEffectDescriptions, which the
// client layer defines in the plug-in and a test chooses here.
#pragma once

#include "DescriptionObjects.h"
#include "InstanceObjects.h"
#include "PageTable.h"
#include "PluginHost.h"
#include "support/LinkedPlugin.h"

#include <algorithm>
#include <functional>

class AAX_ICollection;

namespace librarytest
{
    using namespace zelkhost;
    using testsupport::ScopedStartup;

    /** A host whose component descriptors and property maps stop at version 2,
        so that the library registers process procedures and keeps procedure
        pointers itself; tests widen or narrow it from here. */
    inline HostOptions versionTwoHost()
    {
        HostOptions options;
        options.componentDescriptor = versionsUpTo (2);
        options.propertyMap = versionsUpTo (2);
        return options;
    }

    /** The host kit with versionTwoHost() unless other options are given. */
    class TestHost : public PluginHost
    {
    public:
        explicit TestHost (HostOptions options = versionTwoHost()) : PluginHost (options) {}

        template <typename Object>
        Object& only() { return *registry().all<Object>().at (0); }

        template <typename Object>
        std::size_t count() { return registry().all<Object>().size(); }

        std::string unbalanced() { return registry().unbalancedReport(); }
    };

    inline bool hasCall (const HostObjectBase& object, const std::string& call)
    {
        const auto calls = object.calls();
        return std::find (calls.begin(), calls.end(), call) != calls.end();
    }

    /** How many of an object's logged calls begin with these words. */
    inline std::size_t callsStartingWith (const HostObjectBase& object, const std::string& start)
    {
        const auto calls = object.calls();
        return static_cast<std::size_t> (std::count_if (calls.begin(), calls.end(),
                                                        [&] (const std::string& call) { return call.rfind (start, 0) == 0; }));
    }

    /** The controller unknown of a mono-in, stereo-out instance of the effect. */
    inline HostController& controllerOf (TestHost& host, InstanceOptions options = {})
    {
        return host.makeController (options, "com.velkor.zelk-multi", 0x10001, 0x20002);
    }

    /** A view container for a window of a test, with a native view to show. */
    inline HostViewContainer& viewOf (TestHost& host, int* nativeView, VersionSet versions = versionsUpTo (2))
    {
        InstanceOptions options;
        options.viewContainer = versions;
        options.viewType = 1;
        options.nativeView = nativeView;
        options.gestureResult = AAX_SUCCESS;
        return host.registry().make<HostViewContainer> (options);
    }

    /** The host's property map behind one of the library's map wrappers. */
    template <typename Map>
    HostPropertyMap* hostMapOf (TestHost& host, Map* map)
    {
        return host.registry().find<HostPropertyMap> (map->GetIUnknown());
    }

    /** The host of one effect instance: its controller unknown, whose
        automation answers every set request through the effect. */
    struct InstanceHost
    {
        TestHost host;
        HostController& controller { host.makeController ({}) };

        IACFUnknown* Unknown() { return &controller; }
        void AttachEffect (AAX_IACFEffectParameters* effect) { controller.setEffect (effect); }
        std::vector<std::string> AutomationCalls() const { return controller.automation().calls(); }
        std::vector<PostedPacket> Posted() const { return controller.postedPackets(); }
        void ClearRecords() { controller.clearRecords(); }
        std::string Unbalanced() { return host.unbalanced(); }

        /** References the library holds on the instance's host objects. */
        int Held() { return controller.references() + controller.automation().references() + controller.transport().references(); }
    };

    /** Chooses what GetEffectDescriptions does while it is alive; without one
        it succeeds and describes nothing. */
    class ScopedEffectDescriber
    {
    public:
        explicit ScopedEffectDescriber (std::function<AAX_Result (AAX_ICollection*)> describer);
        ~ScopedEffectDescriber();
    };
}
