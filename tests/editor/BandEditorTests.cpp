#include "WindowTestSupport.h"

#include "LookTestSupport.h"
#include "editor/BandEditor.h"

using windowtest::OpenWindow;
using Bounds = juce::Rectangle<int>;

TEST (BandEditor, LayoutAt950x217AndAtWidthZero)
{
    OpenWindow window;
    auto& panel = *window.editor->bandEditors[1];
    panel.setBounds (0, 0, 950, 217);

    const std::pair<juce::Component*, Bounds> expected[] = {
        { &panel.typeLabel,         { 300, 10, 116, 25 } },
        { &panel.typeBox,           { 416, 10, 116, 25 } },
        { &panel.oversamplingLabel, { 532, 10, 174, 25 } },
        { &panel.oversamplingBox,   { 706, 10, 58, 25 } },
        { &panel.highPassLabel,     { 10, 187, 186, 20 } },
        { &panel.lowPassLabel,      { 196, 187, 186, 20 } },
        { &panel.levelLabel,        { 382, 187, 186, 20 } },
        { &panel.mixLabel,          { 568, 187, 186, 20 } },
        { &panel.gainLabel,         { 754, 187, 186, 20 } },
        { &panel.highPassKnob,      { 10, 69, 186, 118 } },
        { &panel.lowPassKnob,       { 196, 69, 186, 118 } },
        { &panel.levelKnob,         { 382, 35, 186, 152 } },
        { &panel.mixKnob,           { 568, 69, 186, 118 } },
        { &panel.gainKnob,          { 754, 69, 186, 118 } },
        { &panel.logoButton,        { 20, -10, 120, 120 } },
        { &panel.productLabel,      { 65, 70, 100, 20 } },
    };
    for (const auto& [component, bounds] : expected)
        EXPECT_EQ (component->getBounds(), bounds) << component->getName();
    EXPECT_EQ (panel.gainKnob.getComponentID(), "comp-gain-2");

    panel.setBounds (0, 0, 0, 217);
    for (auto* child : panel.getChildren())
    {
        if (child != &panel.logoButton && child != &panel.productLabel)
        {
            EXPECT_EQ (child->getWidth(), 0);
        }
    }
    EXPECT_EQ (panel.logoButton.getBounds(), Bounds (20, -10, 120, 120));
    EXPECT_EQ (panel.productLabel.getBounds(), Bounds (65, 70, 100, 20));
}

TEST (BandEditor, BoxesListTheParameterChoicesAndShowEachWhole)
{
    OpenWindow window;
    auto& panel = *window.editor->bandEditors[0];

    const juce::StringArray types { "None", "Soft Clip", "Hard clip", "Tube", "Tape", "Half Rectify", "Full Rectify",
                                    "Chebyshev 2", "Chebyshev 4", "Chebyshev 6", "Chebyshev 8" };
    const juce::StringArray factors { "X2", "X4", "X8", "X16" };
    const auto isText = [] (juce::Colour c) { return c.getGreen() > 100 && c.getBlue() < c.getGreen() / 2; };
    for (const auto& [box, names] : { std::pair { &panel.typeBox, types }, { &panel.oversamplingBox, factors } })
    {
        ASSERT_EQ (box->getNumItems(), names.size());
        for (int i = 0; i < names.size(); ++i)
        {
            EXPECT_EQ (box->getItemText (i), names[i]);
            EXPECT_EQ (box->getItemId (i), i + 1);
            if (box == &panel.oversamplingBox)   // whole in 58 pixels: glyphs as tall as digits, the last one too, not "..."
            {
                box->setSelectedId (i + 1);
                const auto image = looktest::snapshot (*box).getClippedImage (box->getChildComponent (0)->getBounds());
                const auto text = looktest::findPixels (image, isText);
                const auto last = looktest::findPixels (image.getClippedImage (text.withTrimmedLeft (text.getWidth() * 3 / 4)), isText);
                EXPECT_TRUE (text.getHeight() >= box->getHeight() / 3 && last.getHeight() >= text.getHeight() * 3 / 4) << names[i];
            }
        }
    }
}

TEST (BandEditor, TypingIntoAKnobBoxSetsTheParameter)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { windowtest::setPlain (p, "selectedBand", 2.0f); });
    auto& panel = *window.editor->bandEditors[2];
    ASSERT_TRUE (panel.isShowing());

    const struct { juce::Slider* knob; juce::String parameterID; const char* typed; float expected; } cases[] = {
        { &panel.mixKnob,      "mix-3",                "40",   40.0f },
        { &panel.highPassKnob, "frequency_highpass-3", "2 kHz", 2000.0f },
    };
    for (const auto& c : cases)
    {
        juce::Label* textBox = nullptr;
        for (auto* child : c.knob->getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                textBox = label;
        ASSERT_NE (textBox, nullptr);

        window.clickCentre (*textBox);
        ASSERT_TRUE (textBox->isBeingEdited()) << c.parameterID;
        auto* textEditor = textBox->getCurrentTextEditor();
        ASSERT_NE (textEditor, nullptr);
        textEditor->selectAll();
        window.type (*textEditor, c.typed);
        EXPECT_NEAR (windowtest::getPlain (window.processor, c.parameterID), c.expected, c.expected * 1.0e-3f) << c.parameterID;
    }
}
