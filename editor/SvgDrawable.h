#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** A drawable made from SVG text with the colour `from` replaced by `to`
    and its transform set to a scale by `scale`; owned by the caller.

    Each distinct text is parsed once (the first time it is asked for) and
    kept until JUCE shuts down; later calls copy the parsed drawable. Text
    that is no SVG document gives an empty drawable. Message thread only. */
std::unique_ptr<juce::Drawable> makeSvgDrawable (const juce::String& svgText, juce::Colour from, juce::Colour to, float scale);

/** The drawable parsed from one of the embedded SVG constants (resources/EmbeddedResources.h),
    parsed on first use and shared; callers draw it with Drawable::draw and a
    transform of their own and never change it. The constant's address is
    its key. Never null: text that is no SVG document gives an empty drawable. */
const juce::Drawable& getEmbeddedSvgDrawable (const char* embeddedSvgText);
