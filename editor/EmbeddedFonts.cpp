#include "editor/EmbeddedFonts.h"

#include "resources/EmbeddedResources.h"

#include <juce_events/juce_events.h>

namespace
{
    /** Both typefaces, built once and released when JUCE shuts down. */
    class EmbeddedTypefaces final : private juce::DeletedAtShutdown
    {
    public:
        EmbeddedTypefaces()
            : roboto (juce::Typeface::createSystemTypefaceFor (resources::robotoRegularTtf,
                                                               (size_t) resources::robotoRegularTtfSize)),
              fontAwesome (juce::Typeface::createSystemTypefaceFor (resources::fontAwesomeSolidTtf,
                                                                    (size_t) resources::fontAwesomeSolidTtfSize))
        {
        }

        ~EmbeddedTypefaces() override { clearSingletonInstance(); }

        const juce::Typeface::Ptr roboto, fontAwesome;

        JUCE_DECLARE_SINGLETON (EmbeddedTypefaces, false)
    };

    JUCE_IMPLEMENT_SINGLETON (EmbeddedTypefaces)

    juce::Font makeFont (const juce::Typeface::Ptr& typeface, float height, float extraKerning, float horizontalScale)
    {
        juce::Font font (typeface);
        font.setHeight (height);
        if (extraKerning != 0.0f)
            font.setExtraKerningFactor (extraKerning);
        if (horizontalScale != 1.0f)
            font.setHorizontalScale (horizontalScale);
        return font;
    }
}

juce::Typeface::Ptr EmbeddedFonts::getRobotoRegular()
{
    return EmbeddedTypefaces::getInstance()->roboto;
}

juce::Typeface::Ptr EmbeddedFonts::getFontAwesomeSolid()
{
    return EmbeddedTypefaces::getInstance()->fontAwesome;
}

juce::Font EmbeddedFonts::makeRobotoFont (float height, float extraKerning, float horizontalScale)
{
    return makeFont (getRobotoRegular(), height, extraKerning, horizontalScale);
}

juce::Font EmbeddedFonts::makeFontAwesomeFont (float height)
{
    return makeFont (getFontAwesomeSolid(), height, 0.0f, 1.0f);
}
