#include "ViewSession.h"
#include "XErrorHandler.h"

#include "AAX_Errors.h"
#include "EffectInstance.h"
#include "LoopPlayer.h"
#include "OutputFiles.h"
#include "X11WindowWatch.h"
#include "client/EffectIdentity.h"
#include "client/ViewSnapshot.h"

#include <vector>

namespace
{
    juce::String resultText (const char* what, AAX_Result result)
    {
        return juce::String (what) + " failed (result " + juce::String (result) + ")";
    }

    /** Runs both message loops (the host's and, through the instance's timer
        wake-up, the plug-in's) for about `milliseconds`. */
    void idleFor (zelkhost::EffectInstance& instance, int milliseconds)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;
        do
        {
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
            instance.idle();
        }
        while (juce::Time::getMillisecondCounter() < end);
    }

    bool viewSizeOf (zelkhost::EffectInstance& instance, int& width, int& height, juce::String& error)
    {
        AAX_Point size;
        if (const auto result = instance.viewSize (size); result != AAX_SUCCESS)
        {
            error = resultText ("asking for the view size", result);
            return false;
        }
        width = juce::roundToInt (size.horz);
        height = juce::roundToInt (size.vert);
        if (width <= 0 || height <= 0 || width > 8192 || height > 8192)
        {
            error = "the plug-in asks for a view of " + juce::String (width) + " x " + juce::String (height) + " pixels";
            return false;
        }
        return true;
    }
}

//==============================================================================
class ViewSession::HostWindow : public juce::DocumentWindow
{
public:
    HostWindow() : juce::DocumentWindow ("ZELK-MULTI", juce::Colours::black, juce::DocumentWindow::closeButton)
    {
        setUsingNativeTitleBar (true);
        setResizable (false, false);
        setContentOwned (new juce::Component(), false);
        setContentComponentSize (950, 525);
        centreWithSize (getWidth(), getHeight());
        setVisible (true);
    }

    void closeButtonPressed() override { closed = true; }

    bool closed = false;
};

//==============================================================================
ViewSession::ViewSession (Mode modeToUse) : mode (modeToUse) {}

ViewSession::~ViewSession() = default;

bool ViewSession::prepare (juce::String& error)
{
    if (mode != Mode::window)
        return true;

    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
    {
        error = "--gui needs a display (none found: is DISPLAY set?); --snapshot FILE.png works without one";
        return false;
    }
    zelkhost::installHostXErrorHandler();
    zelkhost::installDisplayLossHandler();
    window = std::make_unique<HostWindow>();
    return true;
}

void ViewSession::configure (zelkhost::InstanceOptions& options) const
{
    if (window != nullptr)
    {
        options.viewType = aaxclient::kViewContainerTypeX11Window;
        options.nativeView = window->getWindowHandle();
    }
}

bool ViewSession::run (zelkhost::EffectInstance& instance, const juce::AudioBuffer<float>& audio,
                       double sampleRate, int blockSize, const zelkhost::OutputTarget* snapshotFile, juce::String& error)
{
    const auto opened = instance.openView();
    if (window != nullptr)
        zelkhost::installDisplayLossHandler();   // the plug-in may have put up its own on opening its view
    if (opened != AAX_SUCCESS)
    {
        error = resultText ("opening the plug-in's view", opened);
        return false;
    }

    // Opening the view switched both spectra off; switch them on as a user would.
    for (const auto* id : { "input_plot", "output_plot" })
        if (const auto result = instance.automate (id, 1.0); result != AAX_SUCCESS)
        {
            instance.closeView();
            error = resultText ((juce::String ("switching on ") + id).toRawUTF8(), result);
            return false;
        }

    jassert (mode == Mode::window || snapshotFile != nullptr);
    const bool done = mode == Mode::window ? showUntilClosed (instance, audio, sampleRate, blockSize, error)
                                           : writeSnapshot (instance, audio, sampleRate, blockSize, *snapshotFile, error);
    instance.closeView();
    window.reset();
    return done;
}

bool ViewSession::showUntilClosed (zelkhost::EffectInstance& instance, const juce::AudioBuffer<float>& audio,
                                   double sampleRate, int blockSize, juce::String& error)
{
    int width = 0, height = 0;
    if (! viewSizeOf (instance, width, height, error))
        return false;
    window->setContentComponentSize (width, height);

    // A window destroyed from outside ends the session as closing it does.
    zelkhost::X11WindowWatch watch ((unsigned long) (juce::pointer_sized_uint) window->getWindowHandle());
    LoopPlayer player (instance, audio, sampleRate, blockSize);
    player.start();
    while (! window->closed && window->getPeer() != nullptr && ! watch.windowGone())
        idleFor (instance, 0);
    player.stop();
    return true;
}

bool ViewSession::writeSnapshot (zelkhost::EffectInstance& instance, const juce::AudioBuffer<float>& audio,
                                 double sampleRate, int blockSize, const zelkhost::OutputTarget& file, juce::String& error)
{
    {
        LoopPlayer player (instance, audio, sampleRate, blockSize);
        player.start();
        idleFor (instance, 1200);   // about a second of audio, with the analysers publishing
        player.stop();
    }
    idleFor (instance, 50);

    int width = 0, height = 0;
    if (! viewSizeOf (instance, width, height, error))
        return false;

    std::vector<uint32_t> pixels ((size_t) width * (size_t) height);
    aaxclient::ViewSnapshotRequest request;
    request.width = width;
    request.height = height;
    request.argbPixels = pixels.data();
    if (const auto result = instance.notifyView (aaxclient::kNotificationViewSnapshot, &request, sizeof (request)); result != AAX_SUCCESS)
    {
        error = resultText ("drawing the plug-in's view", result);
        return false;
    }

    juce::Image image (juce::Image::ARGB, width, height, false);
    {
        juce::Image::BitmapData bitmap (image, juce::Image::BitmapData::writeOnly);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                bitmap.setPixelColour (x, y, juce::Colour (pixels[(size_t) y * (size_t) width + (size_t) x]));
    }

    return file.write ([&] (juce::OutputStream& out) { return juce::PNGImageFormat().writeImageToStream (image, out); }, error);
}
