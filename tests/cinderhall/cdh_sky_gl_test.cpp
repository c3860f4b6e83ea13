// The sky behind everything a perspective pass draws: a gradient from the ground through the
// horizon to the zenith, a cube map whose six images face their axes upright and unmirrored,
// bad images reported by name with the sky keeping what it had, and a cube map that comes back
// after a context rebuild.

#include "gl_fixture.h"

#include "cinderhall/cdh_perspective_pass.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "support/error_capture.h"

#include <GL/glew.h>

#include <array>
#include <cmath>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;
using Marrowgate::Graphics::Color;

std::string SkyImage(const char* name)
{
    return std::string(QUORVANE_SOURCE_DIR) + "/tests/cinderhall/textures/sky_" + name + ".png";
}

const std::array<std::string, 6> kFaces = {SkyImage("px"), SkyImage("nx"), SkyImage("py"),
                                           SkyImage("ny"), SkyImage("pz"), SkyImage("nz")};

class SkyGL : public GLFixture
{
protected:
    void SetUp() override
    {
        GLFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (GetParam() == RendererSetUp::FixedFunction) {
            GTEST_SKIP() << "no sky without programs";
        }
        pass_.SetFieldOfView(1.5707964f);
    }

    // From the origin along `forward`, the top of the screen towards `up`.
    void DrawFrame(const Vector3& forward, const Vector3& up, const RenderList* scene = nullptr)
    {
        context_->BeginFrame();
        cdhCamera camera({0.0f, 0.0f, 0.0f}, forward, up);
        pass_.Begin(camera.ComputeView());
        if (scene != nullptr) {
            scene->Render(pass_.GetView());
        }
        pass_.End();
        Renderer::Flush();
    }

    PerspectivePass pass_;
    static constexpr int kMiddle = kWindowSize / 2;
};

// Each channel of `from` moved `share` of the way to `to`, in 0-255.
Rgba Blend(const Color& from, const Color& to, float share)
{
    const auto channel = [share](float first, float second) {
        return static_cast<std::uint8_t>(std::lround(255.0f * (first + (second - first) * share)));
    };
    return {channel(from.GetRed(), to.GetRed()), channel(from.GetGreen(), to.GetGreen()),
            channel(from.GetBlue(), to.GetBlue()), 255};
}

TEST_P(SkyGL, AGradientRunsFromTheGroundThroughTheHorizonToTheZenithBehindEverything)
{
    QuorvaneTest::ErrorCapture errors;
    const Color zenith(1.0f, 0.1f, 0.2f, 0.9f);
    const Color horizon(1.0f, 0.9f, 0.9f, 0.8f);
    const Color ground(1.0f, 0.3f, 0.5f, 0.1f);
    pass_.GetSky().SetGradient(zenith, horizon, ground);
    RenderList scene;
    MeshObject block(scene);
    block.SetMesh(MakeTestCube());
    Material red;
    red.lit = false;
    red.baseColor = Color(1.0f, 1.0f, 0.0f, 0.0f);
    block.SetMaterial(red);
    // To the right of the middle, 6 in front of the eye.
    block.SetTransform(Marrowgate::Core::MatrixCreateTranslation(3.0f, 0.0f, -6.0f));
    DrawFrame({0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}, &scene);

    EXPECT_TRUE(ColorNear(*context_, kMiddle, kMiddle, Blend(horizon, horizon, 0.0f)));
    // The top and bottom rows look 44.8 degrees up and down: the sine of that of the way.
    const float share = std::sin(std::atan(1.0f - 1.0f / kWindowSize));
    EXPECT_TRUE(ColorNear(*context_, kMiddle, 0, Blend(horizon, zenith, share)))
        << static_cast<int>(context_->ReadPixel(kMiddle, 0)[2]);
    EXPECT_TRUE(ColorNear(*context_, kMiddle, kWindowSize - 1, Blend(horizon, ground, share)));
    EXPECT_TRUE(ColorNear(*context_, kMiddle + 42, kMiddle, (Rgba{255, 0, 0, 255})))
        << "the block is in front";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

struct FaceView
{
    Vector3 forward;
    Vector3 up;
    Rgba middle;
};

TEST_P(SkyGL, EachCubeMapImageShowsUprightLookingAlongItsAxis)
{
    QuorvaneTest::ErrorCapture errors;
    ASSERT_TRUE(pass_.GetSky().LoadCubeMap(kFaces));
    const FaceView views[] = {
        {{1, 0, 0}, {0, 1, 0}, {255, 0, 0, 255}},   {{-1, 0, 0}, {0, 1, 0}, {0, 255, 0, 255}},
        {{0, 1, 0}, {0, 0, -1}, {0, 0, 255, 255}},  {{0, -1, 0}, {0, 0, 1}, {255, 255, 0, 255}},
        {{0, 0, 1}, {0, 1, 0}, {255, 0, 255, 255}}, {{0, 0, -1}, {0, 1, 0}, {0, 255, 255, 255}}};
    for (const FaceView& view : views) {
        DrawFrame(view.forward, view.up);
        // The middle of the +y and +z images is where their halves meet; look just beside it.
        const int x = view.forward.z > 0.5f ? kMiddle - 20 : kMiddle;
        const int y = view.forward.y > 0.5f ? kMiddle - 20 : kMiddle;
        EXPECT_TRUE(ColorNear(*context_, x, y, view.middle))
            << view.forward.x << ", " << view.forward.y << ", " << view.forward.z;
    }
    // The +z image is magenta on its left and white on its right; the +y image blue on top.
    DrawFrame({0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f});
    EXPECT_TRUE(ColorNear(*context_, kMiddle + 20, kMiddle, (Rgba{255, 255, 255, 255}))) << "not mirrored";
    DrawFrame({0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
    EXPECT_TRUE(ColorNear(*context_, kMiddle, kMiddle + 20, (Rgba{0, 0, 128, 255}))) << "upright";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

TEST_P(SkyGL, ABadImageIsReportedByNameAndTheSkyKeepsItsGradient)
{
    const Color blue(1.0f, 0.0f, 0.0f, 1.0f);
    pass_.GetSky().SetGradient(blue, blue, blue);
    struct BadFace
    {
        std::string path;
        const char* saying;
    };
    const BadFace badFaces[] = {
        {SkyImage("missing"), ""}, {SkyImage("damaged"), ""}, {SkyImage("not_square"), "must be square"}};
    for (const BadFace& bad : badFaces) {
        QuorvaneTest::ErrorCapture errors;
        std::array<std::string, 6> faces = kFaces;
        faces[3] = bad.path;
        EXPECT_FALSE(pass_.GetSky().LoadCubeMap(faces));
        ASSERT_TRUE(errors.Fired()) << bad.path;
        EXPECT_NE(errors.Last().find(bad.path), std::string::npos) << errors.Last();
        EXPECT_NE(errors.Last().find(bad.saying), std::string::npos) << errors.Last();
        DrawFrame({0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
        EXPECT_TRUE(ColorNear(*context_, kMiddle, kMiddle, (Rgba{0, 0, 255, 255}))) << "still the gradient";
    }
}

TEST_P(SkyGL, ACubeMapDrawsTheSameAfterTheContextIsRebuilt)
{
    ASSERT_TRUE(pass_.GetSky().LoadCubeMap(kFaces));
    DrawFrame({1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    context_.reset();
    std::string failure;
    context_ = GLTestContext::Create(GetParam(), kWindowSize, kWindowSize, failure);
    ASSERT_TRUE(context_) << failure;
    QuorvaneTest::ErrorCapture errors;
    DrawFrame({1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    EXPECT_TRUE(ColorNear(*context_, kMiddle, kMiddle, (Rgba{255, 0, 0, 255})));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

INSTANTIATE_TEST_SUITE_P(RendererSetUps, SkyGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
