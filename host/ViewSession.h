#pragma once

#include "InterfaceVersions.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zelkhost { class EffectInstance; class OutputTarget; }

/** Shows an instance's view the way a host does, in one of two forms:
    - window: a real top-level window on the X11 display with the plug-in's
      view inside, while the audio plays in a loop in real time and the
      plug-in's timers run, until the user closes the window;
    - snapshot: the view opened off screen (no display needed), about a
      second of audio played, the view written as a PNG.
    Both switch the two spectra on once the view is open (opening it switches
    them off).
*/
class ViewSession
{
public:
    enum class Mode { window, snapshot };

    explicit ViewSession (Mode mode);
    ~ViewSession();

    /** The window form needs a display: false with a reason without one.
        Call it before the instance is made. From here on a lost display ends
        the process (see installDisplayLossHandler). */
    bool prepare (juce::String& error);

    /** What the instance's view container is to hand the plug-in: the host
        window (window form) or no native view (snapshot form). */
    void configure (zelkhost::InstanceOptions& options) const;

    /** Opens the view and plays `audio`; returns when the window is closed
        (window form) or the PNG is written to `snapshotFile` (snapshot form,
        which needs one).
        The view is closed again on return. False with a reason on failure. */
    bool run (zelkhost::EffectInstance& instance, const juce::AudioBuffer<float>& audio,
              double sampleRate, int blockSize, const zelkhost::OutputTarget* snapshotFile, juce::String& error);

private:
    class HostWindow;

    bool showUntilClosed (zelkhost::EffectInstance&, const juce::AudioBuffer<float>&, double sampleRate, int blockSize, juce::String& error);
    bool writeSnapshot (zelkhost::EffectInstance&, const juce::AudioBuffer<float>&, double sampleRate, int blockSize,
                        const zelkhost::OutputTarget& file, juce::String& error);

    const Mode mode;
    std::unique_ptr<HostWindow> window;
};
