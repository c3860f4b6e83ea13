// The kit's own 3D programs: a mesh object without a shader draws lit and textured by them as
// the lighting and its material say, in both shader set-ups, and unlit in the fixed-function one.

#include "gl_fixture.h"

#include "cinderhall/cdh_builtin_programs.h"
#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"

#include <GL/glew.h>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;
using Marrowgate::Graphics::Color;

Rgba Scaled(Rgba color, float factor)
{
    for (int channel = 0; channel < 3; ++channel) {
        color[channel] = static_cast<std::uint8_t>(std::lround(color[channel] * factor));
    }
    return color;
}

class BuiltInProgramsGL : public GLFixture
{
protected:
    // The camera at (0, 0, 5) looks at a cube turned 45 degrees about y: its front edge is in
    // the middle, the face turned right is seen at x = 80 and the one turned left at x = 48.
    void DrawTurnedCube(const Material& material, const SceneLighting& lighting)
    {
        cdhCamera camera{{0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}};
        const Matrix4& view = camera.ApplyCamera();
        Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.5707964f, 1.0f, 0.1f, 100.0f));
        lighting.ApplyLighting();
        MeshObject cube;
        cube.SetMesh(MakeTestCube());
        cube.SetTransform(Marrowgate::Core::CreateRotationY(Marrowgate::Core::PiOverTwo * 0.5f));
        cube.SetTexture(Marrowgate::Graphics::CreateTextureFromFile(std::string(QUORVANE_SOURCE_DIR) +
                                                                    "/tests/cinderhall/textures/orange.png"));
        cube.SetMaterial(material);
        RenderList::Get().Render(view);
        Renderer::Flush();
    }

    static constexpr Rgba kTexture = {255, 128, 64, 255};
    static constexpr int kRightFaceX = 80;
    static constexpr int kLeftFaceX = 48;
    static constexpr int kMiddleY = kWindowSize / 2;
};

TEST_P(BuiltInProgramsGL, ALitTexturedCubeTurnedHalfARightAngleShadesEachFaceAsTheSunSays)
{
    QuorvaneTest::ErrorCapture errors;
    SceneLighting lighting;
    lighting.sunDirection = {1.0f, 0.0f, 0.0f};
    lighting.sunColor = Color(1.0f, 1.0f, 1.0f, 1.0f);
    lighting.ambientColor = Color(1.0f, 0.2f, 0.2f, 0.2f);
    DrawTurnedCube(Material(), lighting);
    if (GetParam() == RendererSetUp::FixedFunction) {
        // No programs: unlit, in the vertex colours.
        EXPECT_EQ(context_->ReadPixel(kRightFaceX, kMiddleY), context_->ReadPixel(kLeftFaceX, kMiddleY));
        return;
    }
    // The sun along +x meets the face turned right at 45 degrees and misses the other.
    EXPECT_TRUE(ColorNear(*context_, kRightFaceX, kMiddleY, Scaled(kTexture, 0.2f + 0.70710678f)))
        << SetUpName(GetParam());
    EXPECT_TRUE(ColorNear(*context_, kLeftFaceX, kMiddleY, Scaled(kTexture, 0.2f)));
    EXPECT_EQ(context_->ReadPixel(10, kMiddleY), (Rgba{0, 0, 0, 255})) << "beside the cube stays black";
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_) << "the pass ends with no program bound";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

// The middle pixel of a white face `distance` in front of the eye, through the given fog.
Rgba FoggedFacePixel(GLTestContext& context, const Fog& fog, float distance, bool lit)
{
    context.BeginFrame();
    cdhCamera camera{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}};
    const Matrix4& view = camera.ApplyCamera();
    Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.5707964f, 1.0f, 0.1f, 100.0f));
    SceneLighting lighting;
    lighting.sunDirection = {0.0f, 0.0f, 1.0f};
    lighting.sunColor = Color(1.0f, 1.0f, 1.0f, 1.0f);
    lighting.ambientColor = Color(1.0f, 0.0f, 0.0f, 0.0f);
    lighting.fog = fog;
    lighting.ApplyLighting();
    RenderList list;
    MeshObject cube(list);
    cube.SetMesh(MakeTestCube());
    Material material;
    material.lit = lit;
    cube.SetMaterial(material);
    // The cube's front face, side 2, at the distance; wide enough to fill the middle.
    cube.SetTransform(Marrowgate::Core::MatrixCreateTranslation(0.0f, 0.0f, -distance - 1.0f));
    list.Render(view);
    Renderer::Flush();
    return context.ReadPixel(kWindowSize / 2, kWindowSize / 2);
}

TEST_P(BuiltInProgramsGL, FogFadesSurfacesToItsColourWithTheDistanceFromTheEye)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "no programs";
    }
    QuorvaneTest::ErrorCapture errors;
    Fog fog;
    fog.color = Color(1.0f, 0.0f, 0.5f, 1.0f);
    const auto expect = [&](float distance, bool lit, float visibility) {
        const Rgba pixel = FoggedFacePixel(*context_, fog, distance, lit);
        const Rgba expected = {
            static_cast<std::uint8_t>(std::lround(255.0f * visibility)),
            static_cast<std::uint8_t>(std::lround(255.0f * (visibility + 0.5f * (1 - visibility)))), 255,
            255};
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(pixel[channel], expected[channel], 3)
                << "channel " << channel << " at " << distance << (lit ? " lit" : " unlit") << " mode "
                << static_cast<int>(fog.mode);
        }
    };
    expect(3.0f, true, 1.0f); // no fog at all
    fog.mode = Fog::Mode::kLinear;
    fog.start = 2.0f;
    fog.end = 6.0f;
    expect(1.5f, true, 1.0f);  // before it starts
    expect(3.0f, true, 0.75f); // a quarter of the way in
    expect(5.0f, false, 0.25f);
    expect(8.0f, false, 0.0f); // beyond its end: all fog
    fog.mode = Fog::Mode::kExponential;
    fog.density = 0.2f;
    expect(1.0f, true, std::exp(-0.2f));
    expect(4.0f, false, std::exp(-0.8f));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

TEST_P(BuiltInProgramsGL, APointLightAndTheMaterialAddToTheSunAndAnUnlitMaterialIgnoresThem)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "no programs";
    }
    SceneLighting lighting;
    lighting.sunDirection = {0.0f, 0.0f, 0.0f};
    lighting.ambientColor = Color(1.0f, 0.0f, 0.0f, 0.0f);
    // Far to the left, so both faces' middles are about as far from it; only the left one faces it.
    lighting.pointLights[0] = {{-100.0f, 0.0f, 0.0f}, Color(1.0f, 1.0f, 1.0f, 1.0f), 1000.0f};
    Material material;
    material.emissiveColor = Color(1.0f, 0.0f, 0.0f, 0.25f);
    DrawTurnedCube(material, lighting);
    const float fade = (1.0f - 100.0f / 1000.0f) * (1.0f - 100.0f / 1000.0f) * 0.70710678f;
    Rgba left = Scaled(kTexture, fade);
    left[2] = static_cast<std::uint8_t>(left[2] + 64);
    const Rgba right = {0, 0, 64, 255};
    EXPECT_TRUE(ColorNear(*context_, kLeftFaceX, kMiddleY, left));
    EXPECT_TRUE(ColorNear(*context_, kRightFaceX, kMiddleY, right));

    context_->BeginFrame();
    material.lit = false;
    material.baseColor = Color(1.0f, 0.5f, 1.0f, 1.0f);
    DrawTurnedCube(material, lighting);
    Rgba unlit = Scaled(kTexture, 1.0f);
    unlit[0] = 128;
    unlit[2] = static_cast<std::uint8_t>(unlit[2] + 64);
    EXPECT_TRUE(ColorNear(*context_, kLeftFaceX, kMiddleY, unlit));
    EXPECT_TRUE(ColorNear(*context_, kRightFaceX, kMiddleY, unlit));
}

TEST_P(BuiltInProgramsGL, AProgramTheCallerBoundStillDrawsObjectsWithoutTheirOwn)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "no programs";
    }
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    theShaderManager->BindShader(lit);
    SceneLighting lighting;
    lighting.sunDirection = {1.0f, 0.0f, 0.0f};
    DrawTurnedCube(Material(), lighting);
    // lit.frag samples no texture: the faces come out in the (white) vertex colours, lit.
    EXPECT_EQ(context_->CurrentProgram(), lit);
    EXPECT_NE(context_->ReadPixel(kRightFaceX, kMiddleY)[1], kTexture[1]);
    theShaderManager->BindShader(InvalidShader);
    theShaderManager->DestroyShader(lit);
}

TEST_P(BuiltInProgramsGL, BuiltInProgramsAreSharedAndOutliveADestroy)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        EXPECT_EQ(GetBuiltInProgram(BuiltInProgram::kLit), InvalidShader);
        return;
    }
    const ShaderHandle lit = GetBuiltInProgram(BuiltInProgram::kLit);
    ASSERT_NE(lit, InvalidShader);
    EXPECT_NE(GetBuiltInProgram(BuiltInProgram::kUnlit), lit);
    theShaderManager->DestroyShader(lit);
    EXPECT_EQ(GetBuiltInProgram(BuiltInProgram::kLit), lit);
    EXPECT_TRUE(glIsProgram(lit));
}

INSTANTIATE_TEST_SUITE_P(RendererSetUps, BuiltInProgramsGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
