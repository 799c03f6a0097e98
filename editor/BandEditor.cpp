#include "editor/BandEditor.h"

#include "editor/PanelDecoration.h"

MultiAudioEditor::BandEditor::BandEditor (std::size_t index, MultiAudioProcessor& p)
    : bandIndex (index), processor (p)
{
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    using ComboBoxAttachment = juce::AudioProcessorValueTreeState::ComboBoxAttachment;

    setBufferedToImage (true);
    setOpaque (true);
    setLookAndFeel (&lookAndFeel);

    fillWithChoices (typeBox, ParameterIDs::type (bandIndex));
    setUpCaption (typeLabel, juce::translate ("TYPE"), juce::Justification::centredRight);
    addAndMakeVisible (typeBox);
    comboBoxAttachments.add (new ComboBoxAttachment (processor.apvts, ParameterIDs::type (bandIndex), typeBox));

    struct KnobSetting
    {
        KnobSlider& knob;
        juce::Label& caption;
        const char* text;
        juce::String parameterID;
        float scale;
        bool valueDots, rangeLabels;
    };
    const KnobSetting knobs[] = {
        { mixKnob,      mixLabel,      "MIX",       ParameterIDs::mix (bandIndex),               0.7f, false, false },
        { gainKnob,     gainLabel,     "GAIN",      ParameterIDs::compgain (bandIndex),          0.7f, true,  false },
        { levelKnob,    levelLabel,    "LEVEL",     ParameterIDs::gain (bandIndex),              1.0f, true,  false },
        { highPassKnob, highPassLabel, "HIGH PASS", ParameterIDs::frequencyHighpass (bandIndex), 0.7f, false, true },
        { lowPassKnob,  lowPassLabel,  "LOW PASS",  ParameterIDs::frequencyLowpass (bandIndex),  0.7f, false, true },
    };
    for (const auto& setting : knobs)
    {
        setting.knob.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 70, 24);
        setting.knob.lookAndFeel.knobScale = setting.scale;
        setting.knob.lookAndFeel.pointerColour = palette[28];
        if (setting.valueDots)
            setting.knob.lookAndFeel.drawValueDots = true;
        if (setting.rangeLabels)
            setting.knob.lookAndFeel.drawRangeLabels = true;
        setUpCaption (setting.caption, juce::translate (setting.text), juce::Justification::centredBottom);
        addAndMakeVisible (setting.knob);
        sliderAttachments.add (new SliderAttachment (processor.apvts, setting.parameterID, setting.knob));
    }
    gainKnob.setComponentID ("comp-gain-" + juce::String (bandIndex + 1));

    fillWithChoices (oversamplingBox, ParameterIDs::oversampling (bandIndex));
    addAndMakeVisible (oversamplingBox);
    comboBoxAttachments.add (new ComboBoxAttachment (processor.apvts, ParameterIDs::oversampling (bandIndex), oversamplingBox));
    oversamplingBox.setColour (juce::ComboBox::textColourId, juce::Colour (0xffadff2f));
    oversamplingBox.setColour (juce::ComboBox::backgroundColourId, juce::Colours::black);
    oversamplingBox.setColour (juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);

    setUpCaption (oversamplingLabel, juce::translate ("OVERSAMPLING"), juce::Justification::centredRight);

    showMakerMark (*this, logoButton, productLabel);

    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::BandEditor::~BandEditor()
{
    setLookAndFeel (nullptr);
    sliderAttachments.clear();
    comboBoxAttachments.clear();
}

void MultiAudioEditor::BandEditor::fillWithChoices (juce::ComboBox& box, const juce::String& parameterID)
{
    if (auto* choice = dynamic_cast<juce::AudioParameterChoice*> (processor.apvts.getParameter (parameterID)))
        box.addItemList (choice->choices, 1);
}

void MultiAudioEditor::BandEditor::setUpCaption (juce::Label& label, const juce::String& text, juce::Justification justification)
{
    addAndMakeVisible (label);
    label.setText (text, juce::dontSendNotification);
    label.setColour (juce::Label::textColourId, palette[35]);
    label.setJustificationType (justification);
}

void MultiAudioEditor::BandEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::transparentBlack);

    fillPanelGradient (g, *this, palette[42]);
}

void MultiAudioEditor::BandEditor::resized()
{
    const int aw = juce::jmax (getWidth() - 20, 0);
    const int ah = juce::jmax (getHeight() - 20, 0);
    const int col = aw / 5;

    juce::Rectangle<int> topRow (10, 10, aw, 25);
    topRow.removeFromLeft ((5 * aw) / 16);
    typeLabel.setBounds (topRow.removeFromLeft (aw / 8));
    typeBox.setBounds (topRow.removeFromLeft (aw / 8));
    oversamplingLabel.setBounds (topRow.removeFromLeft ((3 * aw) / 16));
    oversamplingBox.setBounds (topRow.removeFromLeft (aw / 16));

    const int z = ah - 25;
    const int lh = juce::jlimit (0, 20, z);
    const int captionY = 10 + ah - lh;
    juce::Label* captions[] = { &highPassLabel, &lowPassLabel, &levelLabel, &mixLabel, &gainLabel };
    for (int i = 0; i < 5; ++i)
        captions[i]->setBounds (10 + i * col, captionY, col, lh);

    const int kz = juce::jmax (0, z - lh);
    const int g = juce::jlimit (0, kz, z / 5);
    const int kh = kz - g;
    highPassKnob.setBounds (10, 35 + g, col, kh);
    lowPassKnob.setBounds (10 + col, 35 + g, col, kh);
    levelKnob.setBounds (10 + 2 * col, 35, col, kz);
    mixKnob.setBounds (10 + 3 * col, 35 + g, col, kh);
    gainKnob.setBounds (10 + aw - col, 35 + g, col, kh);

    logoButton.setBounds (20, -10, 120, 120);
    logoButton.toBehind (&highPassKnob);
    productLabel.setBounds (65, 70, 100, 20);
}
