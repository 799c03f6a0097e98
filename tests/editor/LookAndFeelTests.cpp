#include "editor/AddCrossoverLookAndFeel.h"
#include "editor/BandEditorLookAndFeel.h"
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

namespace
{
    juce::Font buttonFont (juce::LookAndFeel& look, int height)  { juce::TextButton b; b.setSize (60, height); return look.getTextButtonFont (b, height); }
    juce::Font comboBoxFont (juce::LookAndFeel& look, int height) { juce::ComboBox b; b.setSize (80, height); return look.getComboBoxFont (b); }
    juce::Font labelFont (juce::LookAndFeel& look)                { juce::Label l; return look.getLabelFont (l); }

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

    /** `text` on a button or label drawn through Look, or, given a typeface,
        through the same look with its fonts moved to that typeface. */
    template <typename Look>
    juce::Image drawText (bool label, const juce::String& text, juce::Typeface::Ptr typeface)
    {
        Look own;
        WithTypeface<Look> swapped (typeface);
        std::unique_ptr<juce::Component> component;
        if (label)
            component = std::make_unique<juce::Label> ("label", text);
        else
            component = std::make_unique<juce::TextButton> (text);
        component->setLookAndFeel (typeface != nullptr ? static_cast<juce::LookAndFeel*> (&swapped) : &own);
        component->setSize (140, 30);
        auto image = looktest::snapshot (*component);
        component->setLookAndFeel (nullptr);
        return image;
    }

    const auto power = juce::String::charToString ((juce::juce_wchar) 0xf011);
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

    const struct { const char* name; juce::Font font; float height, kerning, scale; bool iconFont; } cases[] = {
        { "push button 16 px", buttonFont (push, 16), 12.0f, 0.02f, 1.1f, false },
        { "push button 30 px (capped)", buttonFont (push, 30), 15.0f, 0.02f, 1.1f, false },
        { "knob value box", labelFont (knob), 15.0f, 0.0f, 1.1f, false },
        { "editor button 20 px", buttonFont (editor, 20), 12.4f, 0.0f, 1.3f, false },
        { "editor button 30 px (capped)", buttonFont (editor, 30), 15.0f, 0.0f, 1.3f, false },
        { "editor popup menu", editor.getPopupMenuFont(), 15.0f, 0.02f, 1.1f, false },
        { "editor combo box 16 px", comboBoxFont (editor, 16), 13.6f, 0.02f, 1.1f, false },
        { "editor combo box 24 px (capped)", comboBoxFont (editor, 24), 15.0f, 0.02f, 1.1f, false },
        { "editor label", labelFont (editor), 15.0f, 0.02f, 1.1f, false },
        { "band editor popup menu", bandEditor.getPopupMenuFont(), 15.0f, 0.02f, 1.1f, false },
        { "band editor combo box 24 px (capped)", comboBoxFont (bandEditor, 24), 15.0f, 0.02f, 1.1f, false },
        { "band editor label", labelFont (bandEditor), 15.0f, 0.04f, 1.1f, false },
        { "add crossover 16 px", buttonFont (addCrossover, 16), 12.0f, 0.02f, 1.1f, false },
        { "add crossover 40 px (capped)", buttonFont (addCrossover, 40), 15.0f, 0.02f, 1.1f, false },
        { "icon 20 px", buttonFont (icon, 20), 12.4f, 0.0f, 1.0f, true },
        { "icon 40 px (capped)", buttonFont (icon, 40), 22.0f, 0.0f, 1.0f, true },
        { "plot controls 20 px", buttonFont (plotControls, 20), 12.4f, 0.0f, 1.3f, false },
        { "plot controls 30 px (capped)", buttonFont (plotControls, 30), 15.0f, 0.0f, 1.3f, false },
        { "context menu", contextMenu.getPopupMenuFont(), 16.0f, 0.02f, 1.1f, false },
        { "editor default sans-serif", juce::Font (editor.getTypefaceForFont (juce::Font (15.0f))), 14.0f, 0.0f, 1.0f, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_FLOAT_EQ (c.font.getHeight(), c.height);
        EXPECT_FLOAT_EQ (c.font.getExtraKerningFactor(), c.kerning);
        EXPECT_FLOAT_EQ (c.font.getHorizontalScale(), c.scale);
        // Built once: every font shares one typeface object per face.
        const auto expected = c.iconFont ? EmbeddedFonts::getFontAwesomeSolid() : EmbeddedFonts::getRobotoRegular();
        EXPECT_EQ (c.font.getTypefacePtr().get(), expected.get());
    }
}

TEST (LookAndFeelFonts, TextDrawnThroughEachLookHasTheEmbeddedGlyphs)
{
    const struct { const char* name; juce::Image (*draw) (bool, const juce::String&, juce::Typeface::Ptr); bool label; juce::String text; } cases[] = {
        { "editor button", drawText<EditorLookAndFeel>, false, "Band 1" },
        { "editor label", drawText<EditorLookAndFeel>, true, "Output" },
        { "band editor label", drawText<BandEditorLookAndFeel>, true, "Gain" },
        { "knob value box", drawText<KnobSliderLookAndFeel>, true, "-12.5 dB" },
        { "push button", drawText<PushButton::PushButtonLookAndFeel>, false, "BYPASS" },
        { "plot controls", drawText<PlotControlsLookAndFeel>, false, "S" },
        { "add crossover", drawText<AddCrossoverLookAndFeel>, false, "+" },
        { "icon button", drawText<FAButtonLookAndFeel>, false, power },
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
        const auto drawn = c.draw (c.label, c.text, nullptr);
        EXPECT_FALSE (looktest::findPixels (drawn, [] (juce::Colour p) { return ! p.isTransparent(); }).isEmpty());
        EXPECT_TRUE (looktest::samePixels (drawn, c.draw (c.label, c.text, c.text == power ? icons : roboto)));
        EXPECT_FALSE (looktest::samePixels (drawn, c.draw (c.label, c.text, system)));
    }
}

TEST (ButtonLooks, AddCrossoverGradientEndsGreenWhenEnabledAndGreyWhenDisabledWhateverTheButtonColour)
{
    for (const auto enabled : { true, false })
    {
        AddCrossoverLookAndFeel look;
        juce::TextButton button;
        button.setLookAndFeel (&look);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::red);
        button.setEnabled (enabled);
        button.setSize (30, 60);

        const auto image = looktest::snapshot (button);
        EXPECT_TRUE (looktest::near (image.getPixelAt (15, 1), juce::Colours::black, 8));
        const auto bottom = image.getPixelAt (15, 57);
        EXPECT_TRUE (looktest::near (bottom, enabled ? juce::Colours::green : juce::Colours::grey, 12)) << bottom.toDisplayString (true);
        button.setLookAndFeel (nullptr);
    }
}

TEST (ButtonLooks, SharedTextRuleDrawsDisabledTextAtHalfAlpha)
{
    EditorLookAndFeel editor;
    BandEditorLookAndFeel bandEditor;
    FAButtonLookAndFeel icon;
    PlotControlsLookAndFeel plotControls;

    for (auto* look : std::initializer_list<juce::LookAndFeel*> { &editor, &bandEditor, &icon, &plotControls })
        for (const auto enabled : { true, false })
        {
            juce::TextButton button (power + "W");
            button.setColour (juce::TextButton::textColourOffId, juce::Colours::white);
            button.setSize (60, 30);
            button.setEnabled (enabled);
            juce::Image image (juce::Image::ARGB, 60, 30, true);
            {
                juce::Graphics g (image);
                look->drawButtonText (g, button, false, false);
            }
            int alpha = 0;
            looktest::findPixels (image, [&alpha] (juce::Colour c) { alpha = std::max (alpha, (int) c.getAlpha()); return false; });
            EXPECT_NEAR (alpha, enabled ? 255 : 128, 2);
        }
}

TEST (SvgDrawables, LogoIsRecolouredAndScaledAndTextThatIsNoSvgGivesAnEmptyDrawable)
{
    const auto logo = makeSvgDrawable (resources::logoSvg, juce::Colour (0xff7df97d), juce::Colour (0xffa9b0b7), 1.5f);
    EXPECT_EQ (logo->getTransform(), juce::AffineTransform::scale (1.5f));
    EXPECT_TRUE (juce::Rectangle<float> (500.0f, 340.0f).contains (logo->getDrawableBounds()));

    juce::Image image (juce::Image::ARGB, 750, 510, true);
    {
        juce::Graphics g (image);
        logo->draw (g, 1.0f);
    }
    const auto find = [&image] (juce::Colour colour) { return looktest::findPixels (image, [colour] (juce::Colour c) { return c == colour; }); };
    EXPECT_TRUE (find (juce::Colour (0xff7df97d)).isEmpty());
    EXPECT_GT (find (juce::Colour (0xffa9b0b7)).getWidth(), 400); // the word mark, scaled by 1.5
    EXPECT_FALSE (find (juce::Colours::white).isEmpty());          // pulse line and small text

    for (const auto* bad : { "", "<svg", "<html/>", "\xff\xfe" })
        EXPECT_TRUE (makeSvgDrawable (bad, juce::Colours::black, juce::Colours::white, 2.0f)->getDrawableBounds().isEmpty()) << bad;
}
