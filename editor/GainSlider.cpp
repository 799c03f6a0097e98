#include "editor/GainSlider.h"

#include <cmath>

GainSlider::GainSlider()
{
    installCrossoverSliderLook (*this, lookAndFeel);
}

GainSlider::~GainSlider()
{
    setLookAndFeel (nullptr);
}

double GainSlider::getHandleY()
{
    return getHeight() * (1.0 - valueToProportionOfLength (getValue()));
}

bool GainSlider::hitTest (int x, int y)
{
    bool takesClicks = false, childrenTakeClicks = false;
    getInterceptsMouseClicks (takesClicks, childrenTakeClicks);
    if (! takesClicks)
        return false;

    return x > sideMargin && x < getWidth() - sideMargin && std::abs (y - getHandleY()) < reach;
}
