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
    return getPositionOfValue (getValue());
}

bool GainSlider::hitTest (int x, int y)
{
    bool takesClicks = false, childrenTakeClicks = false;
    getInterceptsMouseClicks (takesClicks, childrenTakeClicks);
    if (! takesClicks)
        return false;

    return x > sideMargin && x < getWidth() - sideMargin && std::abs (y - getHandleY()) < reach;
}
