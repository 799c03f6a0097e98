#include "PluginSession.h"

#include "AAX_Errors.h"

#include <juce_core/juce_core.h>

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
        if (! mBundle.load (bundlePath, error))
            return false;

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
        const auto besideProgram = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getSiblingFile (bundleFileName);
        if (besideProgram.existsAsFile())
            return besideProgram.getFullPathName().toStdString();

       #ifdef ZELK_DEFAULT_BUNDLE_PATH
        return ZELK_DEFAULT_BUNDLE_PATH;
       #else
        return {};
       #endif
    }
}
