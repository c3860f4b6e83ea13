// Objects that share a mesh, drawn together: one instanced draw gives the pixels of one draw per
// object, a program without the per-instance input still draws each object on its own, and a
// shared mesh draws again after the context is rebuilt.

#include "gl_fixture.h"

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "support/error_capture.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;

// A 0.3-wide square around the origin in the z = 0 plane, facing +z, in one colour per corner so
// that a wrongly turned copy shows.
std::shared_ptr<Mesh> MakeSquare()
{
    std::vector<Vertex3D> vertices;
    const std::uint32_t colors[] = {0xFF3264C8u, 0xFFC86432u, 0xFF32C864u, 0xFFFFFFFFu};
    int corner = 0;
    for (const auto& [dx, dy] :
         {std::pair{-0.15f, -0.15f}, {-0.15f, 0.15f}, {0.15f, 0.15f}, {0.15f, -0.15f}}) {
        Vertex3D vertex;
        vertex.x = dx;
        vertex.y = dy;
        vertex.color = colors[corner++];
        vertices.push_back(vertex);
    }
    return CreateMeshFromData(vertices, {0, 1, 2, 0, 2, 3}, kPositions | kColors);
}

// Copies on a 6 x 6 grid, each turned and scaled differently so that the per-instance matrix
// must arrive whole and in the right order.
Matrix4 GridTransform(int column, int row)
{
    using namespace Marrowgate::Core;
    const float angle = 0.15f * static_cast<float>(column * 6 + row);
    return MatrixCreateTranslation(-1.5f + 0.6f * static_cast<float>(column),
                                   -1.5f + 0.6f * static_cast<float>(row), -0.1f * static_cast<float>(row)) *
           CreateRotationY(angle * 0.5f) * CreateRotationZ(angle) *
           MatrixCreateScale(1.0f + 0.05f * static_cast<float>(column), 1.0f, 1.0f);
}

class InstancedMeshGL : public GLFixture
{
protected:
    // Draws the list from a camera at (0, 0, 5) and returns the frame and the mesh draw calls.
    std::pair<std::vector<Rgba>, std::uint64_t> DrawFrame(const RenderList& list)
    {
        context_->BeginFrame();
        cdhCamera camera({0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        const Matrix4& view = camera.ApplyCamera();
        Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.0f, 1.0f, 0.1f, 100.0f));
        for (ShaderHandle shader : {instanced_, lit_}) {
            theShaderManager->BindShader(shader);
            SceneLighting().ApplyLighting();
        }
        const std::uint64_t drawsBefore = GetMeshDrawCallCount();
        list.Render(view);
        const std::uint64_t draws = GetMeshDrawCallCount() - drawsBefore;
        theShaderManager->BindShader(InvalidShader);
        std::vector<Rgba> pixels;
        for (int y = 0; y < kWindowSize; ++y) {
            for (int x = 0; x < kWindowSize; ++x) {
                pixels.push_back(context_->ReadPixel(x, y));
            }
        }
        return {pixels, draws};
    }

    void LoadShaders()
    {
        instanced_ = CreateShader("instanced.vert", "lit.frag");
        lit_ = CreateShader("lit.vert", "lit.frag");
    }

    void TearDown() override
    {
        SetInstancingEnabled(true);
        GLFixture::TearDown();
    }

    ShaderHandle instanced_ = InvalidShader;
    ShaderHandle lit_ = InvalidShader;
};

int CountDifferingPixels(const std::vector<Rgba>& first, const std::vector<Rgba>& second)
{
    int differing = 0;
    for (std::size_t index = 0; index < first.size(); ++index) {
        for (std::size_t channel = 0; channel < 4; ++channel) {
            if (std::abs(first[index][channel] - second[index][channel]) > 1) {
                ++differing;
                break;
            }
        }
    }
    return differing;
}

TEST_P(InstancedMeshGL, OneInstancedDrawGivesThePixelsOfOneDrawPerObject)
{
    QuorvaneTest::ErrorCapture errors;
    LoadShaders();
    ASSERT_TRUE(theShaderManager->HasInstanceTransform(instanced_));
    EXPECT_FALSE(theShaderManager->HasInstanceTransform(lit_));
    ASSERT_TRUE(IsInstancingAvailable()) << context_->GetVersion();

    const std::shared_ptr<Mesh> square = MakeSquare();
    RenderList scene;
    std::vector<std::unique_ptr<MeshObject>> objects;
    for (int column = 0; column < 6; ++column) {
        for (int row = 0; row < 6; ++row) {
            auto& object = objects.emplace_back(std::make_unique<MeshObject>(scene));
            object->SetMesh(square);
            object->SetShader(instanced_);
            object->SetTransform(GridTransform(column, row));
        }
    }
    // Drawn on its own, under the per-object model-view, in the middle of the grid.
    MeshObject single(scene);
    single.SetMesh(square);
    single.SetShader(lit_);
    single.SetTransform(Marrowgate::Core::MatrixCreateTranslation(0.0f, 0.0f, 0.5f));

    const auto [instancedPixels, instancedDraws] = DrawFrame(scene);
    EXPECT_EQ(instancedDraws, 2u) << "one instanced draw and the object of another program";
    SetInstancingEnabled(false);
    EXPECT_FALSE(IsInstancingAvailable());
    const auto [loopPixels, loopDraws] = DrawFrame(scene);
    EXPECT_EQ(loopDraws, 37u);
    EXPECT_EQ(CountDifferingPixels(instancedPixels, loopPixels), 0);

    int lit = 0;
    for (const Rgba& pixel : loopPixels) {
        lit += pixel[0] + pixel[1] + pixel[2] > 0 ? 1 : 0;
    }
    EXPECT_GT(lit, 500) << "the copies are on screen";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    theShaderManager->DestroyShader(lit_);
    theShaderManager->DestroyShader(instanced_);
}

TEST_P(InstancedMeshGL, ASharedMeshDrawsTheSameAfterTheContextIsRebuilt)
{
    LoadShaders();
    const std::shared_ptr<Mesh> square = MakeSquare();
    RenderList scene;
    MeshObject left(scene);
    MeshObject right(scene);
    for (MeshObject* object : {&left, &right}) {
        object->SetMesh(square);
        object->SetShader(instanced_);
    }
    left.SetTransform(Marrowgate::Core::MatrixCreateTranslation(-0.5f, 0.0f, 0.0f));
    right.SetTransform(Marrowgate::Core::MatrixCreateTranslation(0.5f, 0.0f, 0.0f));
    const std::vector<Rgba> before = DrawFrame(scene).first;

    context_.reset();
    std::string failure;
    context_ = GLTestContext::Create(GetParam(), kWindowSize, kWindowSize, failure);
    ASSERT_TRUE(context_) << failure;
    QuorvaneTest::ErrorCapture errors;
    LoadShaders();
    left.SetShader(instanced_);
    right.SetShader(instanced_);
    const auto [after, draws] = DrawFrame(scene);
    EXPECT_EQ(draws, 1u);
    EXPECT_EQ(CountDifferingPixels(before, after), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    theShaderManager->DestroyShader(lit_);
    theShaderManager->DestroyShader(instanced_);
}

TEST_P(InstancedMeshGL, TheBuiltInProgramsDrawCopiesTogetherWithThePixelsOfOneDrawEach)
{
    QuorvaneTest::ErrorCapture errors;
    const std::shared_ptr<Mesh> square = MakeSquare();
    RenderList scene;
    std::vector<std::unique_ptr<MeshObject>> objects;
    Material lit;
    lit.specular = 0.5f;
    Material unlit;
    unlit.lit = false;
    unlit.baseColor = Marrowgate::Graphics::Color(1.0f, 0.5f, 1.0f, 0.5f);
    // Two materials in a checkerboard: each draws as a batch of its own, in one draw each.
    for (int column = 0; column < 6; ++column) {
        for (int row = 0; row < 6; ++row) {
            auto& object = objects.emplace_back(std::make_unique<MeshObject>(scene));
            object->SetMesh(square);
            object->SetMaterial((column + row) % 2 == 0 ? lit : unlit);
            object->SetTransform(GridTransform(column, row));
        }
    }
    const auto drawList = [&] {
        context_->BeginFrame();
        cdhCamera camera({0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        const Matrix4& view = camera.ApplyCamera();
        Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.0f, 1.0f, 0.1f, 100.0f));
        SceneLighting lighting;
        lighting.sunDirection = {0.3f, 0.2f, 1.0f};
        lighting.fog.mode = Fog::Mode::kLinear;
        lighting.fog.start = 4.0f;
        lighting.fog.end = 7.0f;
        lighting.ApplyLighting();
        const std::uint64_t drawsBefore = GetMeshDrawCallCount();
        scene.Render(view);
        const std::uint64_t draws = GetMeshDrawCallCount() - drawsBefore;
        std::vector<Rgba> pixels;
        for (int y = 0; y < kWindowSize; ++y) {
            for (int x = 0; x < kWindowSize; ++x) {
                pixels.push_back(context_->ReadPixel(x, y));
            }
        }
        return std::pair{pixels, draws};
    };
    ASSERT_TRUE(IsInstancingAvailable()) << context_->GetVersion();
    const auto [instancedPixels, instancedDraws] = drawList();
    EXPECT_EQ(instancedDraws, 2u);
    SetInstancingEnabled(false);
    const auto [loopPixels, loopDraws] = drawList();
    EXPECT_EQ(loopDraws, 36u);
    EXPECT_EQ(CountDifferingPixels(instancedPixels, loopPixels), 0);
    const auto litPixels = std::count_if(loopPixels.begin(), loopPixels.end(), [](const Rgba& pixel) {
        return pixel[0] + pixel[1] + pixel[2] > 0;
    });
    EXPECT_GT(litPixels, 500) << "the copies are on screen";
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_) << "the pass ends with no program bound";

    // A single object of the program (its own material) draws under its model-view: the
    // per-instance input is the identity outside instanced draws.
    objects.resize(1);
    objects[0]->SetTransform(Marrowgate::Core::MatrixCreateTranslation(0.0f, 0.0f, 1.0f));
    SetInstancingEnabled(true);
    const auto [singlePixels, singleDraws] = drawList();
    EXPECT_EQ(singleDraws, 1u);
    EXPECT_NE(singlePixels[kWindowSize / 2 * kWindowSize + kWindowSize / 2], (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

INSTANTIATE_TEST_SUITE_P(ShaderSetUps, InstancedMeshGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
