#pragma once

#include "editor/FAButtonLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A text button whose text is drawn with the icon font (e.g. the power glyph). */
class FAButton : public juce::TextButton
{
public:
    using FAButtonLookAndFeel = ::FAButtonLookAndFeel;

    explicit FAButton (const juce::String& text);
    ~FAButton() override;

    FAButtonLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FAButton)
};
