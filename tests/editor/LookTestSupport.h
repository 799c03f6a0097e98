#pragma once

#include "XErrorHandler.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace looktest
{
    /** The component drawn at scale 1 on a transparent image, as the window would draw it. */
    inline juce::Image snapshot (juce::Component& component)
    {
        return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
    }

    /** The smallest rectangle holding every pixel for which `matches` is true (empty when none). */
    inline juce::Rectangle<int> findPixels (const juce::Image& image, const std::function<bool (juce::Colour)>& matches)
    {
        juce::Rectangle<int> found;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (matches (image.getPixelAt (x, y)))
                    found = found.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : found.getUnion ({ x, y, 1, 1 });
        return found;
    }

    /** True when every channel of a and b (alpha included) differs by at most `tolerance`. */
    inline bool near (juce::Colour a, juce::Colour b, int tolerance = 3)
    {
        return std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
            && std::abs (a.getBlue() - b.getBlue()) <= tolerance && std::abs (a.getAlpha() - b.getAlpha()) <= tolerance;
    }

    /** Puts `component` on the desktop (a real X11 window) when there is a display.
        Without a window manager (a bare virtual display) X11 reports errors for
        window-manager hints, which are ignored here. */
    inline bool putOnDesktop (juce::Component& component)
    {
        if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
            return false;

        zelkhost::installHostXErrorHandler();

        component.addToDesktop (0);
        component.setVisible (true);
        return true;
    }

    inline bool samePixels (const juce::Image& a, const juce::Image& b)
    {
        if (a.getBounds() != b.getBounds())
            return false;
        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return false;
        return true;
    }
}
