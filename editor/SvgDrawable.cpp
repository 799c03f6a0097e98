#include "editor/SvgDrawable.h"

#include <map>

namespace
{
    std::unique_ptr<juce::Drawable> parseSvg (const juce::String& svgText)
    {
        if (auto xml = juce::XmlDocument::parse (svgText))
            if (auto drawable = juce::Drawable::createFromSVG (*xml))
                return drawable;

        return std::make_unique<juce::DrawableComposite>();
    }

    /** Every SVG document parsed so far, released when JUCE shuts down. */
    class ParsedSvgCache final : private juce::DeletedAtShutdown
    {
    public:
        ~ParsedSvgCache() override { clearSingletonInstance(); }

        const juce::Drawable& get (const juce::String& svgText)
        {
            auto& drawable = byText[svgText];
            if (drawable == nullptr)
                drawable = parseSvg (svgText);
            return *drawable;
        }

        const juce::Drawable& get (const char* embeddedSvgText)
        {
            auto& drawable = byAddress[embeddedSvgText];
            if (drawable == nullptr)
                drawable = &get (juce::String::fromUTF8 (embeddedSvgText));
            return *drawable;
        }

        JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (ParsedSvgCache)

    private:
        std::map<juce::String, std::unique_ptr<juce::Drawable>> byText;
        std::map<const char*, const juce::Drawable*> byAddress;
    };

    JUCE_IMPLEMENT_SINGLETON (ParsedSvgCache)
}

std::unique_ptr<juce::Drawable> makeSvgDrawable (const juce::String& svgText, juce::Colour from, juce::Colour to, float scale)
{
    auto drawable = ParsedSvgCache::getInstance()->get (svgText).createCopy();
    drawable->replaceColour (from, to);
    drawable->setTransform (juce::AffineTransform::scale (scale));
    return drawable;
}

const juce::Drawable& getEmbeddedSvgDrawable (const char* embeddedSvgText)
{
    return ParsedSvgCache::getInstance()->get (embeddedSvgText != nullptr ? embeddedSvgText : "");
}
