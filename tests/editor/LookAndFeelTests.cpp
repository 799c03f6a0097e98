#include "editor/AddCrossoverLookAndFeel.h"
#include "editor/BandEditorLookAndFeel.h"
#include "editor/ColourPalette.h"
#include "editor/ContextPopupMenuLookAndFeel.h"
#include "editor/EditorLookAndFeel.h"
#include "editor/EmbeddedFonts.h"
#include "editor/FAButtonLookAndFeel.h"
#include "editor/KnobSlider.h"
#include "editor/PlotControlsLookAndFeel.h"
#include "editor/PushButton.h"
#include "editor/SvgDrawable.h"
#include "resources/EmbeddedResources.h"
#include "tests/editor/LookTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
    struct FontCase
    {
        const char* name;
        std::function<juce::Font()> get;
        float height, kerning, scale;
        bool iconFont;
    };

    juce::Font buttonFont (juce::LookAndFeel& lookAndFeel, int buttonHeight)
    {
        juce::TextButton button;
        button.setSize (60, buttonHeight);
        return lookAndFeel.getTextButtonFont (button, buttonHeight);
    }

    juce::Font comboBoxFont (juce::LookAndFeel& lookAndFeel, int boxHeight)
    {
        juce::ComboBox box;
        box.setSize (80, boxHeight);
        return lookAndFeel.getComboBoxFont (box);
    }

    juce::Font labelFont (juce::LookAndFeel& lookAndFeel)
    {
        juce::Label label;
        return lookAndFeel.getLabelFont (label);
    }
}

TEST (LookAndFeelFonts, EveryGetterGivesItsHeightKerningScaleAndEmbeddedTypeface)
{
    PushButton::PushButtonLookAndFeel push;
    KnobSliderLookAndFeel knob;
    EditorLookAndFeel editor;
    BandEditorLookAndFeel bandEditor;
    AddCrossoverLookAndFeel addCrossover;
    FAButtonLookAndFeel icon;
    PlotControlsLookAndFeel plotControls;
    ContextPopupMenuLookAndFeel contextMenu;

    const FontCase cases[] = {
        { "push button 16 px", [&] { return buttonFont (push, 16); }, 12.0f, 0.02f, 1.1f, false },
        { "push button 30 px (capped)", [&] { return buttonFont (push, 30); }, 15.0f, 0.02f, 1.1f, false },
        { "knob value box", [&] { return labelFont (knob); }, 15.0f, 0.0f, 1.1f, false },
        { "editor button 20 px", [&] { return buttonFont (editor, 20); }, 12.4f, 0.0f, 1.3f, false },
        { "editor button 30 px (capped)", [&] { return buttonFont (editor, 30); }, 15.0f, 0.0f, 1.3f, false },
        { "editor popup menu", [&] { return editor.getPopupMenuFont(); }, 15.0f, 0.02f, 1.1f, false },
        { "editor combo box 16 px", [&] { return comboBoxFont (editor, 16); }, 13.6f, 0.02f, 1.1f, false },
        { "editor combo box 24 px (capped)", [&] { return comboBoxFont (editor, 24); }, 15.0f, 0.02f, 1.1f, false },
        { "editor label", [&] { return labelFont (editor); }, 15.0f, 0.02f, 1.1f, false },
        { "band editor popup menu", [&] { return bandEditor.getPopupMenuFont(); }, 15.0f, 0.02f, 1.1f, false },
        { "band editor combo box 24 px (capped)", [&] { return comboBoxFont (bandEditor, 24); }, 15.0f, 0.02f, 1.1f, false },
        { "band editor label", [&] { return labelFont (bandEditor); }, 15.0f, 0.04f, 1.1f, false },
        { "add crossover 16 px", [&] { return buttonFont (addCrossover, 16); }, 12.0f, 0.02f, 1.1f, false },
        { "add crossover 40 px (capped)", [&] { return buttonFont (addCrossover, 40); }, 15.0f, 0.02f, 1.1f, false },
        { "icon 20 px", [&] { return buttonFont (icon, 20); }, 12.4f, 0.0f, 1.0f, true },
        { "icon 40 px (capped)", [&] { return buttonFont (icon, 40); }, 22.0f, 0.0f, 1.0f, true },
        { "plot controls 20 px", [&] { return buttonFont (plotControls, 20); }, 12.4f, 0.0f, 1.3f, false },
        { "plot controls 30 px (capped)", [&] { return buttonFont (plotControls, 30); }, 15.0f, 0.0f, 1.3f, false },
        { "context menu", [&] { return contextMenu.getPopupMenuFont(); }, 16.0f, 0.02f, 1.1f, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto font = c.get();
        EXPECT_FLOAT_EQ (font.getHeight(), c.height);
        EXPECT_FLOAT_EQ (font.getExtraKerningFactor(), c.kerning);
        EXPECT_FLOAT_EQ (font.getHorizontalScale(), c.scale);
        const auto expected = c.iconFont ? EmbeddedFonts::getFontAwesomeSolid() : EmbeddedFonts::getRobotoRegular();
        EXPECT_EQ (font.getTypefacePtr().get(), expected.get());
    }
}

namespace
{
    /** A look-and-feel whose text fonts keep their size but take another typeface. */
    template <typename Base>
    struct WithTypeface : Base
    {
        explicit WithTypeface (juce::Typeface::Ptr t) : typeface (std::move (t)) {}

        juce::Font swap (const juce::Font& font) const
        {
            juce::Font swapped (typeface);
            swapped.setHeight (font.getHeight());
            swapped.setExtraKerningFactor (font.getExtraKerningFactor());
            swapped.setHorizontalScale (font.getHorizontalScale());
            return swapped;
        }

        juce::Font getTextButtonFont (juce::TextButton& button, int height) override { return swap (Base::getTextButtonFont (button, height)); }
        juce::Font getLabelFont (juce::Label& label) override { return swap (Base::getLabelFont (label)); }

        juce::Typeface::Ptr typeface;
    };

    /** Draws `text` on a button or label through LookAndFeel, or, given a
        typeface, through the same look with its fonts moved to that typeface. */
    template <typename LookAndFeel>
    juce::Image drawText (bool label, const juce::String& text, juce::Typeface::Ptr typeface = nullptr)
    {
        LookAndFeel own;
        WithTypeface<LookAndFeel> swapped (typeface);
        juce::LookAndFeel& lookAndFeel = typeface != nullptr ? static_cast<juce::LookAndFeel&> (swapped) : own;

        std::unique_ptr<juce::Component> component;
        if (label)
            component = std::make_unique<juce::Label> ("label", text);
        else
            component = std::make_unique<juce::TextButton> (text);
        component->setLookAndFeel (&lookAndFeel);
        component->setSize (140, 30);
        auto image = looktest::snapshot (*component);
        component->setLookAndFeel (nullptr);
        return image;
    }

    struct TextCase
    {
        const char* name;
        std::function<juce::Image (juce::Typeface::Ptr)> draw;
        bool iconFont;
    };
}

TEST (LookAndFeelFonts, TextDrawnThroughEachLookHasTheEmbeddedGlyphs)
{
    const auto power = juce::String::charToString ((juce::juce_wchar) 0xf011);
    const TextCase cases[] = {
        { "editor button", [] (auto t) { return drawText<EditorLookAndFeel> (false, "Band 1", t); }, false },
        { "editor label", [] (auto t) { return drawText<EditorLookAndFeel> (true, "Output", t); }, false },
        { "band editor label", [] (auto t) { return drawText<BandEditorLookAndFeel> (true, "Gain", t); }, false },
        { "knob value box", [] (auto t) { return drawText<KnobSliderLookAndFeel> (true, "-12.5 dB", t); }, false },
        { "push button", [] (auto t) { return drawText<PushButton::PushButtonLookAndFeel> (false, "BYPASS", t); }, false },
        { "plot controls", [] (auto t) { return drawText<PlotControlsLookAndFeel> (false, "S", t); }, false },
        { "add crossover", [] (auto t) { return drawText<AddCrossoverLookAndFeel> (false, "+", t); }, false },
        { "icon button", [power] (auto t) { return drawText<FAButtonLookAndFeel> (false, power, t); }, true },
    };

    // Typefaces made here straight from the embedded data, and the system's default sans-serif.
    const auto roboto = juce::Typeface::createSystemTypefaceFor (resources::robotoRegularTtf, (size_t) resources::robotoRegularTtfSize);
    const auto icons = juce::Typeface::createSystemTypefaceFor (resources::fontAwesomeSolidTtf, (size_t) resources::fontAwesomeSolidTtfSize);
    const auto system = juce::Font (15.0f).getTypefacePtr();
    ASSERT_EQ (roboto->getName(), "Roboto");
    ASSERT_NE (system->getName(), "Roboto");

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto drawn = c.draw (nullptr);
        EXPECT_FALSE (looktest::findPixels (drawn, [] (juce::Colour p) { return ! p.isTransparent(); }).isEmpty());
        EXPECT_TRUE (looktest::samePixels (drawn, c.draw (c.iconFont ? icons : roboto)));
        EXPECT_FALSE (looktest::samePixels (drawn, c.draw (system)));
    }
}

TEST (LookAndFeelFonts, EditorLookMakesRobotoTheDefaultSansSerifFaceAndTypefacesAreBuiltOnce)
{
    EditorLookAndFeel editor;
    EXPECT_EQ (editor.getTypefaceForFont (juce::Font (15.0f)).get(), EmbeddedFonts::getRobotoRegular().get());
    EXPECT_EQ (EmbeddedFonts::getRobotoRegular().get(), EmbeddedFonts::getRobotoRegular().get());
    EXPECT_EQ (EmbeddedFonts::getFontAwesomeSolid().get(), EmbeddedFonts::getFontAwesomeSolid().get());
}

TEST (ButtonLooks, AddCrossoverGradientEndsGreenWhenEnabledAndGreyWhenDisabledWhateverTheButtonColour)
{
    for (const auto enabled : { true, false })
    {
        SCOPED_TRACE (enabled ? "enabled" : "disabled");
        AddCrossoverLookAndFeel look;
        juce::TextButton button;
        button.setLookAndFeel (&look);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::red);
        button.setEnabled (enabled);
        button.setSize (30, 60);

        const auto image = looktest::snapshot (button);
        EXPECT_TRUE (looktest::near (image.getPixelAt (15, 1), juce::Colours::black, 8));
        const auto bottom = image.getPixelAt (15, 57);
        const auto expected = enabled ? juce::Colours::green : juce::Colours::grey;
        EXPECT_TRUE (looktest::near (bottom, expected, 12)) << bottom.toDisplayString (true);
        button.setLookAndFeel (nullptr);
    }
}

TEST (ButtonLooks, SharedTextRuleDrawsNothingAtWidthZeroAndHalfAlphaWhenDisabled)
{
    EditorLookAndFeel editor;
    BandEditorLookAndFeel bandEditor;
    FAButtonLookAndFeel icon;
    PlotControlsLookAndFeel plotControls;
    const std::pair<const char*, juce::LookAndFeel*> looks[] = {
        { "editor", &editor }, { "band editor", &bandEditor }, { "icon", &icon }, { "plot controls", &plotControls }
    };

    const auto maxAlpha = [] (juce::LookAndFeel& look, int width, bool enabled)
    {
        juce::TextButton button (juce::String::charToString ((juce::juce_wchar) 0xf011) + "W");
        button.setColour (juce::TextButton::textColourOffId, juce::Colours::white);
        button.setSize (width, 30);
        button.setEnabled (enabled);
        juce::Image image (juce::Image::ARGB, 60, 30, true);
        {
            juce::Graphics g (image);
            look.drawButtonText (g, button, false, false);
        }
        int alpha = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                alpha = std::max (alpha, (int) image.getPixelAt (x, y).getAlpha());
        return alpha;
    };

    for (const auto& [name, look] : looks)
    {
        SCOPED_TRACE (name);
        EXPECT_EQ (maxAlpha (*look, 0, true), 0);
        EXPECT_EQ (maxAlpha (*look, 60, true), 255);
        EXPECT_NEAR (maxAlpha (*look, 60, false), 128, 2);
    }
}

TEST (ColourPaletteAndSvg, PaletteEntriesInUseAndOutOfRangeIndex)
{
    const ColourPalette palette;
    EXPECT_EQ (palette[28], juce::Colour (0xff731d19));
    EXPECT_EQ (palette[35], juce::Colours::white);
    EXPECT_EQ (palette[42], juce::Colours::purple);
    EXPECT_EQ (palette[-1], juce::Colours::transparentBlack);
    EXPECT_EQ (palette[ColourPalette::numColours], juce::Colours::transparentBlack);
}

TEST (ColourPaletteAndSvg, LogoIsRecolouredAndScaledAndBadTextGivesAnEmptyDrawable)
{
    const auto logo = makeSvgDrawable (resources::logoSvg, juce::Colour (0xff7df97d), juce::Colour (0xffa9b0b7), 1.5f);
    ASSERT_NE (logo, nullptr);
    EXPECT_TRUE (juce::Rectangle<float> (0.0f, 0.0f, 500.0f, 340.0f).contains (logo->getDrawableBounds()));
    EXPECT_EQ (logo->getTransform(), juce::AffineTransform::scale (1.5f));

    juce::Image image (juce::Image::ARGB, 750, 510, true);
    {
        juce::Graphics g (image);
        logo->draw (g, 1.0f);
    }
    const auto count = [&image] (juce::Colour colour)
    {
        return looktest::findPixels (image, [colour] (juce::Colour c) { return c == colour; });
    };
    EXPECT_TRUE (count (juce::Colour (0xff7df97d)).isEmpty());
    EXPECT_GT (count (juce::Colour (0xffa9b0b7)).getWidth(), 400);  // the word mark, scaled by 1.5
    EXPECT_FALSE (count (juce::Colours::white).isEmpty());            // pulse line and small text

    for (const auto* bad : { "", "<svg", "<html/>", "\xff\xfe" })
    {
        const auto drawable = makeSvgDrawable (bad, juce::Colours::black, juce::Colours::white, 2.0f);
        ASSERT_NE (drawable, nullptr);
        EXPECT_TRUE (drawable->getDrawableBounds().isEmpty());
    }
}
