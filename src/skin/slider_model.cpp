#include "skin/slider_model.h"

#include <algorithm>
#include <cstdint>

namespace kovantis {
namespace {

constexpr int kWheelNotch = 120;

} // namespace

void SliderModel::SetRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    SetPosition(position_);
}

void SliderModel::SetFaceSize(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

void SliderModel::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

int SliderModel::PixelOf(int position) const
{
    const int64_t span = int64_t{maximum_} - minimum_;
    if (span == 0) {
        return 0;
    }
    return static_cast<int>((int64_t{position} - minimum_) * Extent() / span);
}

int SliderModel::PositionAt(int pixel) const
{
    if (Extent() == 0 || pixel <= 0) {
        return minimum_;
    }
    // Rounded to the nearest position, so the far end of the face reaches the maximum.
    const int64_t span = int64_t{maximum_} - minimum_;
    const int64_t position = minimum_ + (2 * int64_t{pixel} * span + Extent()) / (2 * int64_t{Extent()});
    return static_cast<int>(std::clamp<int64_t>(position, minimum_, maximum_));
}

bool SliderModel::Follow(int x, int y)
{
    const int pixel = Along(x, y);
    if (pixel == PixelOf(position_)) {
        return false;
    }
    SetPosition(PositionAt(pixel));
    return true;
}

bool SliderModel::Press(int x, int y)
{
    if (!enabled_) {
        return false;
    }
    focus_ = true;
    dragging_ = true;
    return Follow(x, y);
}

bool SliderModel::Move(int x, int y)
{
    if (!enabled_ || !dragging_) {
        return false;
    }
    return Follow(x, y);
}

bool SliderModel::Release()
{
    if (!enabled_) {
        return false;
    }
    dragging_ = false;
    return true;
}

bool SliderModel::Key(SliderKey key)
{
    if (!enabled_) {
        return false;
    }
    const int64_t position = position_;
    int64_t target = position;
    switch (key) {
    case SliderKey::PageUp: target = position - pageStep_; break;
    case SliderKey::PageDown: target = position + pageStep_; break;
    case SliderKey::Home: target = minimum_; break;
    case SliderKey::End: target = maximum_; break;
    case SliderKey::Right:
    case SliderKey::Down: target = position + 1; break;
    case SliderKey::Left:
    case SliderKey::Up: target = position - 1; break;
    }
    SetPosition(static_cast<int>(std::clamp<int64_t>(target, minimum_, maximum_)));
    return true;
}

bool SliderModel::Wheel(int delta)
{
    if (!enabled_ || !focus_) {
        return false;
    }
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / kWheelNotch;
    if (notches == 0) {
        return false;
    }
    wheelRemainder_ -= notches * kWheelNotch;
    SetPosition(static_cast<int>(std::clamp<int64_t>(int64_t{position_} - notches, minimum_, maximum_)));
    return true;
}

} // namespace kovantis
