#include "editor/AddCrossoverLookAndFeel.h"
#include "editor/BandEditorLookAndFeel.h"
#include "editor/ContextPopupMenuLookAndFeel.h"
#include "editor/EditorLookAndFeel.h"
#include "editor/EmbeddedFonts.h"
#include "editor/FAButtonLookAndFeel.h"
#include "editor/KnobSlider.h"
#include "editor/PlotControlsLookAndFeel.h"
#include "editor/PushButton.h"

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
