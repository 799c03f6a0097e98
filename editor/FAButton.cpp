#include "editor/FAButton.h"

FAButton::FAButton (const juce::String& text) : juce::TextButton (text) {}

FAButton::~FAButton() = default;
