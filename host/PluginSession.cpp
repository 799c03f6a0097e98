#include "PluginSession.h"

#include "AAX_Errors.h"

#include <climits>
#include <unistd.h>

namespace zelkhost
{
    namespace
    {
        constexpr const char* bundleFileName = "ZELK-MULTI.so";
    }

    PluginSession::PluginSession (HostOptions options) : mHost (options) {}

    PluginSession::~PluginSession()
    {
        close();
    }

    bool PluginSession::open (const std::string& bundlePath, std::string& error)
    {
        return mBundle.load (bundlePath, error) && startAndRegister (error);
    }

    bool PluginSession::open (const BundleEntryPoints& linked, std::string& error)
    {
        mBundle.useLinked (linked);
        return startAndRegister (error);
    }

    bool PluginSession::startAndRegister (std::string& error)
    {
        if (const auto result = mHost.startup (mBundle); result != ACF_OK)
        {
            error = "the plug-in failed to start (result " + std::to_string (result) + ")";
            return false;
        }
        mStarted = true;

        mRegistration = mHost.registerPlugin (mBundle);
        if (mRegistration.result != ACF_OK)
        {
            error = "the plug-in failed to register (result " + std::to_string (mRegistration.result) + ")";
            return false;
        }
        if (mRegistration.description.effects.empty())
        {
            error = "the plug-in registered no effect";
            return false;
        }
        return true;
    }

    acfResult PluginSession::close()
    {
        if (! mBundle.isLoaded())
            return 0;

        if (mStarted)
        {
            mHost.shutdown (mBundle);
            mStarted = false;
        }

        const auto live = mBundle.canUnloadNow (mHost.unknown());
        mBundle.unload();
        return live;
    }

    std::string PluginSession::defaultBundlePath()
    {
        char program[PATH_MAX] = {};
        const auto length = ::readlink ("/proc/self/exe", program, sizeof (program) - 1);
        if (length > 0)
        {
            std::string besideProgram (program, static_cast<std::size_t> (length));
            besideProgram = besideProgram.substr (0, besideProgram.find_last_of ('/') + 1) + bundleFileName;
            if (::access (besideProgram.c_str(), R_OK) == 0)
                return besideProgram;
        }

       #ifdef ZELK_DEFAULT_BUNDLE_PATH
        return ZELK_DEFAULT_BUNDLE_PATH;
       #else
        return {};
       #endif
    }
}
