#include <gtest/gtest.h>

#include "skin/slider_model.h"

namespace kovantis {
namespace {

SliderModel Brightness()
{
    SliderModel slider;
    slider.SetRange(0, 4);
    slider.SetFaceSize(160, 22);
    return slider;
}

TEST(SliderModel, PositionsAndPixels)
{
    SliderModel slider = Brightness();
    EXPECT_EQ(slider.PixelOf(0), 0);
    EXPECT_EQ(slider.PixelOf(1), 40);
    EXPECT_EQ(slider.PixelOf(4), 160);
    EXPECT_EQ(slider.PositionAt(0), 0);
    EXPECT_EQ(slider.PositionAt(19), 0);
    EXPECT_EQ(slider.PositionAt(20), 1);
    EXPECT_EQ(slider.PositionAt(80), 2);
    // The last pixel of the face reaches the maximum.
    EXPECT_EQ(slider.PositionAt(159), 4);
    EXPECT_EQ(slider.PositionAt(-30), 0);
    EXPECT_EQ(slider.PositionAt(900), 4);
    for (int p = 0; p <= 4; ++p) EXPECT_EQ(slider.PositionAt(slider.PixelOf(p)), p);

    slider.SetVertical(true);
    EXPECT_EQ(slider.PixelOf(4), 22);
    EXPECT_EQ(slider.PositionAt(11), 2);

    SliderModel offset;
    offset.SetRange(10, 20);
    offset.SetFaceSize(100, 10);
    EXPECT_EQ(offset.PixelOf(15), 50);
    EXPECT_EQ(offset.PositionAt(50), 15);
}

TEST(SliderModel, PositionsAreClampedAndDegenerateRangesAreSafe)
{
    SliderModel slider = Brightness();
    slider.SetPosition(9);
    EXPECT_EQ(slider.Position(), 4);
    slider.SetPosition(-2);
    EXPECT_EQ(slider.Position(), 0);
    slider.SetPosition(3);
    slider.SetRange(0, 2);
    EXPECT_EQ(slider.Position(), 2);

    SliderModel flat;
    flat.SetRange(5, 5);
    flat.SetFaceSize(100, 10);
    EXPECT_EQ(flat.PixelOf(5), 0);
    EXPECT_EQ(flat.PositionAt(70), 5);
    SliderModel faceless;
    EXPECT_EQ(faceless.PositionAt(10), 0);
}

TEST(SliderModel, PointerInputReportsEveryChange)
{
    SliderModel slider = Brightness();
    EXPECT_FALSE(slider.Move(120, 5)) << "no drag before a press";
    EXPECT_TRUE(slider.Press(80, 5));
    EXPECT_EQ(slider.Position(), 2);
    EXPECT_TRUE(slider.IsDragging());
    EXPECT_TRUE(slider.HasFocus());
    EXPECT_FALSE(slider.Move(80, 5)) << "the pixel of the current position";
    EXPECT_TRUE(slider.Move(150, 5));
    EXPECT_EQ(slider.Position(), 4);
    EXPECT_TRUE(slider.Release()) << "release always reports the position reached";
    EXPECT_FALSE(slider.IsDragging());
    EXPECT_FALSE(slider.Move(0, 5));
    EXPECT_FALSE(slider.Press(160, 5)) << "pressing on the current position's pixel";
    slider.Leave();
    EXPECT_FALSE(slider.HasFocus());
}

TEST(SliderModel, KeysAndWheel)
{
    SliderModel slider = Brightness();
    slider.SetPosition(2);
    EXPECT_TRUE(slider.Key(SliderKey::PageDown)) << "page step 0 still reports";
    EXPECT_EQ(slider.Position(), 2);
    slider.SetPageStep(3);
    EXPECT_TRUE(slider.Key(SliderKey::PageDown));
    EXPECT_EQ(slider.Position(), 4);
    EXPECT_TRUE(slider.Key(SliderKey::PageUp));
    EXPECT_EQ(slider.Position(), 1);
    slider.Key(SliderKey::End);
    EXPECT_EQ(slider.Position(), 4);
    slider.Key(SliderKey::Right);
    EXPECT_EQ(slider.Position(), 4);
    slider.Key(SliderKey::Home);
    EXPECT_EQ(slider.Position(), 0);
    slider.Key(SliderKey::Down);
    slider.Key(SliderKey::Right);
    EXPECT_EQ(slider.Position(), 2);
    slider.Key(SliderKey::Up);
    slider.Key(SliderKey::Left);
    EXPECT_EQ(slider.Position(), 0);

    slider.SetPosition(2);
    EXPECT_FALSE(slider.Wheel(120)) << "the wheel needs the focus a press gives";
    slider.Press(slider.PixelOf(2), 0);
    EXPECT_TRUE(slider.Wheel(120));
    EXPECT_EQ(slider.Position(), 1);
    EXPECT_TRUE(slider.Wheel(-240));
    EXPECT_EQ(slider.Position(), 3);
    EXPECT_FALSE(slider.Wheel(60)) << "half a notch";
    EXPECT_TRUE(slider.Wheel(60));
    EXPECT_EQ(slider.Position(), 2);

    slider.SetEnabled(false);
    EXPECT_FALSE(slider.Key(SliderKey::End));
    EXPECT_FALSE(slider.Press(0, 0));
    EXPECT_FALSE(slider.Release());
    EXPECT_EQ(slider.Position(), 2);
}

} // namespace
} // namespace kovantis
