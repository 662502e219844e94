#pragma once
// The state of a skinned slider and what each user input does to it, apart from any window: the
// widget forwards its input here and reports the position whenever an input returns true.

namespace kovantis {

enum class SliderKey { PageUp, PageDown, Home, End, Left, Right, Up, Down };

class SliderModel {
public:
    // A range whose minimum equals its maximum has no pixel mapping: every pixel is the minimum
    // and every position lies at pixel 0.
    void SetRange(int minimum, int maximum);
    void SetPageStep(int step) { pageStep_ = step; }
    // The face picture's size; the slider runs along the width, or the height when vertical.
    void SetFaceSize(int width, int height);
    void SetVertical(bool vertical) { vertical_ = vertical; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Clamps to the range. Setting the position from code reports nothing.
    void SetPosition(int position);

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Position() const { return position_; }
    int PageStep() const { return pageStep_; }
    bool IsEnabled() const { return enabled_; }
    bool IsDragging() const { return dragging_; }
    bool HasFocus() const { return focus_; }

    // Pixel offset of a position along the slider (truncated), and the position nearest to a
    // pixel offset.
    int PixelOf(int position) const;
    int PositionAt(int pixel) const;

    // Inputs; each returns true when the new position is to be reported. `x`, `y` are the
    // pointer's coordinates within the face.
    bool Press(int x, int y);
    bool Move(int x, int y);
    bool Release();
    bool Key(SliderKey key);
    // Wheel delta in eighths of a degree (120 = one notch away from the user, which lowers the
    // position). Fine-grained deltas add up until they make a whole notch.
    bool Wheel(int delta);
    void Leave() { focus_ = false; }

private:
    int Extent() const { return vertical_ ? height_ : width_; }
    int Along(int x, int y) const { return vertical_ ? y : x; }
    // Moves to the position under the pointer when the pointer is off the current position's pixel.
    bool Follow(int x, int y);

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageStep_ = 0;
    int width_ = 0;
    int height_ = 0;
    int wheelRemainder_ = 0;
    bool vertical_ = false;
    bool enabled_ = true;
    bool dragging_ = false;
    bool focus_ = false;
};

} // namespace kovantis
