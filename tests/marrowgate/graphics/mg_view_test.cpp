#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_view.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using Marrowgate::Core::Vector2;

void ExpectPlacement(const ViewPlacement& placement, float x, float y, float width, float height)
{
    EXPECT_FLOAT_EQ(placement.x, x);
    EXPECT_FLOAT_EQ(placement.y, y);
    EXPECT_FLOAT_EQ(placement.width, width);
    EXPECT_FLOAT_EQ(placement.height, height);
}

TEST(ViewPlacementTest, FitLeavesBarsOnTheLongSideAndFillCropsIt)
{
    // 320 x 180 in a wider, a taller and an exactly matching window.
    ExpectPlacement(PlaceView(320, 180, 1000, 360, ViewScaling::Fit), 180, 0, 640, 360);
    ExpectPlacement(PlaceView(320, 180, 640, 1000, ViewScaling::Fit), 0, 320, 640, 360);
    ExpectPlacement(PlaceView(320, 180, 1280, 720, ViewScaling::Fit), 0, 0, 1280, 720);
    ExpectPlacement(PlaceView(320, 180, 1000, 360, ViewScaling::Fill), 0, -102, 1000, 563);
    ExpectPlacement(PlaceView(320, 180, 700, 500, ViewScaling::Stretch), 0, 0, 700, 500);
}

TEST(ViewPlacementTest, IntegerScaleUsesWholeMultiplesAndClampsToOneInASmallWindow)
{
    ExpectPlacement(PlaceView(320, 180, 1000, 600, ViewScaling::IntegerScale), 20, 30, 960, 540);
    ExpectPlacement(PlaceView(320, 180, 959, 540, ViewScaling::IntegerScale), 159, 90, 640, 360);
    ExpectPlacement(PlaceView(320, 180, 960, 540, ViewScaling::IntegerScale), 0, 0, 960, 540);
    // Smaller than the logical size: 1x, centred and cropped.
    ExpectPlacement(PlaceView(320, 180, 200, 100, ViewScaling::IntegerScale), -60, -40, 320, 180);
}

class ViewTest : public testing::Test
{
protected:
    void TearDown() override
    {
        ResetView();
        SetScreenSize(0, 0);
    }
};

TEST_F(ViewTest, WithoutALogicalViewTheScreenIsTheWindow)
{
    SetScreenSize(800, 600);
    EXPECT_FALSE(HasLogicalView());
    EXPECT_EQ(ScreenWidth(), 800);
    EXPECT_EQ(WindowToView(Vector2(13, 17)).x, 13.0f);
    ExpectPlacement(GetViewPlacement(), 0, 0, 800, 600);
}

TEST_F(ViewTest, TheScreenAndTheMouseAreInLogicalPixelsAtTheCornersOfThePicture)
{
    SetScreenSize(1000, 360);
    SetLogicalView(320, 180, ViewScaling::Fit);
    EXPECT_EQ(ScreenWidth(), 320);
    EXPECT_EQ(ScreenHeight(), 180);
    EXPECT_EQ(WindowWidth(), 1000);
    EXPECT_FLOAT_EQ(ScreenCenter().x, 160.0f);
    // The picture spans window x 180 to 820.
    const Vector2 topLeft = WindowToView(Vector2(180, 0));
    const Vector2 bottomRight = WindowToView(Vector2(820, 360));
    EXPECT_FLOAT_EQ(topLeft.x, 0.0f);
    EXPECT_FLOAT_EQ(topLeft.y, 0.0f);
    EXPECT_FLOAT_EQ(bottomRight.x, 320.0f);
    EXPECT_FLOAT_EQ(bottomRight.y, 180.0f);
    EXPECT_LT(WindowToView(Vector2(10, 100)).x, 0.0f) << "the left bar lies outside the view";
    const Vector2 back = ViewToWindow(WindowToView(Vector2(500.5f, 77.25f)));
    EXPECT_FLOAT_EQ(back.x, 500.5f);
    EXPECT_FLOAT_EQ(back.y, 77.25f);
}

TEST_F(ViewTest, ALogicalSideOfZeroIsReportedAndTheViewStaysAsItWas)
{
    SetScreenSize(640, 480);
    SetLogicalView(160, 120, ViewScaling::IntegerScale);
    QuorvaneTest::ErrorCapture errors;
    SetLogicalView(0, 120, ViewScaling::Fit);
    ASSERT_TRUE(errors.Fired());
    EXPECT_NE(errors.Last().find("A logical view needs a width and a height above 0, not 0 x 120"),
              std::string::npos);
    EXPECT_EQ(GetLogicalWidth(), 160);
    ExpectPlacement(GetViewPlacement(), 0, 0, 640, 480);
}

} // namespace
