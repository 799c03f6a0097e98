#include "PluginBundle.h"

#include <dlfcn.h>

namespace zelkhost
{
    namespace
    {
        template <typename Function>
        bool resolve (void* handle, const char* name, Function& function, std::string& missing)
        {
            function = reinterpret_cast<Function> (dlsym (handle, name));
            if (function == nullptr)
                missing += (missing.empty() ? "" : ", ") + std::string (name);
            return function != nullptr;
        }
    }

    PluginBundle::~PluginBundle()
    {
        unload();
    }

    bool PluginBundle::load (const std::string& path, std::string& error)
    {
        if (isLoaded())
        {
            error = "a bundle is already loaded from " + mPath;
            return false;
        }

        void* handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
        {
            const char* reason = dlerror();
            error = "cannot load the plug-in bundle " + path + ": " + (reason != nullptr ? reason : "unknown reason");
            return false;
        }

        BundleEntryPoints entryPoints;
        std::string missing;
        resolve (handle, "ACFRegisterPlugin", entryPoints.registerPlugin, missing);
        resolve (handle, "ACFRegisterComponent", entryPoints.registerComponent, missing);
        resolve (handle, "ACFGetClassFactory", entryPoints.getClassFactory, missing);
        resolve (handle, "ACFCanUnloadNow", entryPoints.canUnloadNow, missing);
        resolve (handle, "ACFStartup", entryPoints.startup, missing);
        resolve (handle, "ACFShutdown", entryPoints.shutdown, missing);
        resolve (handle, "ACFGetSDKVersion", entryPoints.getSDKVersion, missing);

        if (! missing.empty())
        {
            dlclose (handle);
            error = path + " is not a plug-in bundle: it does not export " + missing;
            return false;
        }

        mHandle = handle;
        mPath = path;
        mEntryPoints = entryPoints;
        return true;
    }

    void PluginBundle::useLinked (const BundleEntryPoints& entryPoints)
    {
        unload();
        mLinked = true;
        mPath = "(linked)";
        mEntryPoints = entryPoints;
    }

    acfResult PluginBundle::canUnloadNow (IACFUnknown* host) const
    {
        return isLoaded() ? mEntryPoints.canUnloadNow (host) : 0;
    }

    bool PluginBundle::unload()
    {
        if (! isLoaded() || canUnloadNow (nullptr) != 0)
            return false;

        if (mHandle != nullptr)
            dlclose (mHandle);
        mHandle = nullptr;
        mLinked = false;
        mEntryPoints = {};
        return true;
    }
}
