// Meshes on screen: a lit quad seen through the camera and a right-handed perspective lands
// where the matrices say, in both shader set-ups and, unlit, in the fixed-function set-up; the
// render list leaves the renderer's matrices as it found them.

#include "gl_fixture.h"

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "support/error_capture.h"

#include <GL/glew.h>

#include <cmath>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;

constexpr std::uint32_t kQuadColor = 0xFF3264C8u; // bytes R 200, G 100, B 50, A 255

// A 0.4-wide square around center in the z = 0 plane, facing +z (clockwise seen from +z), or
// facing away when reversed.
std::unique_ptr<Mesh> MakeQuad(const Vector3& center, bool reversed = false)
{
    std::vector<Vertex3D> vertices;
    for (const auto& [dx, dy] : {std::pair{-0.2f, -0.2f}, {-0.2f, 0.2f}, {0.2f, 0.2f}, {0.2f, -0.2f}}) {
        Vertex3D vertex;
        vertex.x = center.x + dx;
        vertex.y = center.y + dy;
        vertex.z = center.z;
        vertex.color = kQuadColor;
        vertices.push_back(vertex);
    }
    std::vector<std::uint32_t> indices = {0, 1, 2, 0, 2, 3};
    if (reversed) {
        indices = {0, 2, 1, 0, 3, 2};
    }
    return CreateMeshFromData(vertices, indices, kPositions | kColors);
}

// Pixel (x from the left, y from the top) of a world point under the renderer's matrices.
std::pair<int, int> Project(const Vector3& point)
{
    const float* m = Renderer::GetModelViewProjectionMatrix().m;
    const float clip[4] = {m[0] * point.x + m[1] * point.y + m[2] * point.z + m[3],
                           m[4] * point.x + m[5] * point.y + m[6] * point.z + m[7],
                           m[8] * point.x + m[9] * point.y + m[10] * point.z + m[11],
                           m[12] * point.x + m[13] * point.y + m[14] * point.z + m[15]};
    const float x = (clip[0] / clip[3] + 1.0f) * 0.5f * kWindowSize;
    const float y = (1.0f - clip[1] / clip[3]) * 0.5f * kWindowSize;
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

// Two quads at the origin: the first node moves its quad left, the second (its child) moves its
// own quad right by twice that, so it lands right of the middle.
std::unique_ptr<Mesh> MakeJointedQuads()
{
    MeshData data = MakeQuad({0.0f, 0.0f, 0.0f})->GetData();
    const std::size_t vertexCount = data.vertices.size();
    data.vertices.insert(data.vertices.end(), data.vertices.begin(), data.vertices.end());
    for (std::size_t index = 0; index < 6; ++index) {
        data.indices.push_back(data.indices[index] + static_cast<std::uint32_t>(vertexCount));
    }
    MeshNode body;
    body.firstValue = 0;
    body.secondValue = 2;
    body.transform = Marrowgate::Core::MatrixCreateTranslation(-1.0f, 0.0f, 0.0f);
    MeshNode arm = body;
    arm.firstValue = 2;
    arm.parentIndex = 0;
    arm.transform = Marrowgate::Core::MatrixCreateTranslation(2.0f, 0.0f, 0.0f);
    data.nodes = {body, arm};
    return std::make_unique<Mesh>(std::move(data));
}

void ExpectJointedQuadsDrawn(const GLTestContext& context)
{
    for (const float x : {-1.0f, 1.0f}) {
        const auto [pixelX, pixelY] = Project({x, 0.0f, 0.0f});
        EXPECT_GT(context.ReadPixel(pixelX, pixelY)[0], 100) << "a quad at x = " << x;
    }
    const auto [middleX, middleY] = Project({0.0f, 0.0f, 0.0f});
    EXPECT_EQ(context.ReadPixel(middleX, middleY)[0], 0) << "no triangle is left at the origin";
}

class MeshGL : public GLFixture
{
protected:
    // Camera at (0, 0, 5) looking at the origin, 90 degree vertical field of view.
    const Matrix4& BeginPerspective()
    {
        const Matrix4& view = camera_.ApplyCamera();
        Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.5707964f, 1.0f, 0.1f, 100.0f));
        return view;
    }

    cdhCamera camera_{{0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}};
};

using LitMeshGL = MeshGL;

TEST_P(LitMeshGL, LitQuadLandsWhereTheMatricesSay)
{
    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    ASSERT_NE(lit, InvalidShader);
    const Vector3 center(1.0f, 0.5f, 0.0f);
    MeshObject quad;
    quad.SetMesh(MakeQuad(center));
    quad.SetShader(lit);
    MeshObject facingAway;
    facingAway.SetMesh(MakeQuad({-1.0f, -0.5f, 0.0f}, true));

    const Matrix4& view = BeginPerspective();
    theShaderManager->BindShader(lit);
    SceneLighting lighting;
    lighting.ApplyLighting();
    RenderList::Get().Render(view);

    // Normal (0, 0, 1) against the default sun: diffuse 0.6332378 plus ambient.
    const float red = 200.0f / 255.0f * (0.051f + 0.6332378f);
    const float green = 100.0f / 255.0f * (0.051f + 0.6332378f);
    const float blue = 50.0f / 255.0f * (0.04f + 0.75f * 0.6332378f);
    const Rgba expected = {static_cast<std::uint8_t>(std::lround(red * 255)),
                           static_cast<std::uint8_t>(std::lround(green * 255)),
                           static_cast<std::uint8_t>(std::lround(blue * 255)), 255};
    const auto [x, y] = Project(center);
    EXPECT_EQ(x, 77);
    EXPECT_EQ(y, 58);
    EXPECT_TRUE(ColorNear(*context_, x, y, expected));
    const auto [edgeX, edgeY] = Project({center.x - 0.3f, center.y, 0.0f});
    EXPECT_EQ(context_->ReadPixel(edgeX, edgeY)[0], 0) << "just left of the quad stays black";
    const auto [awayX, awayY] = Project({-1.0f, -0.5f, 0.0f});
    EXPECT_EQ(context_->ReadPixel(awayX, awayY)[0], 0)
        << "counter-clockwise triangles face away and are culled";

    theShaderManager->BindShader(InvalidShader);
    EXPECT_EQ(Renderer::GetModelViewMatrix(), view) << "the render list pops what it pushed";
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    theShaderManager->DestroyShader(lit);
}

TEST_P(LitMeshGL, LoadedFilesDrawLikeBuiltMeshesAndCorruptOnesDrawNothing)
{
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    MeshData data = MakeQuad({0.0f, 0.0f, 0.0f})->GetData();
    const std::vector<std::byte> file = WriteBinaryMesh(data);
    MeshObject loaded;
    loaded.SetMesh(LoadMeshFromMemory(file, "quad.msh"));
    loaded.SetShader(lit);
    ASSERT_TRUE(loaded.GetMesh()->IsReady());

    std::vector<std::byte> corrupt = file;
    corrupt[28] = std::byte{0xFF}; // first index far beyond the four vertices
    QuorvaneTest::ErrorCapture errors;
    MeshObject broken;
    broken.SetMesh(LoadMeshFromMemory(corrupt, "quad.msh"));
    EXPECT_TRUE(errors.Fired());
    EXPECT_FALSE(broken.GetMesh()->IsReady());

    const Matrix4& view = BeginPerspective();
    theShaderManager->BindShader(lit);
    SceneLighting().ApplyLighting();
    RenderList::Get().Render(view);
    const auto [x, y] = Project({0.0f, 0.0f, 0.0f});
    EXPECT_GT(context_->ReadPixel(x, y)[0], 100);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    theShaderManager->BindShader(InvalidShader);
    theShaderManager->DestroyShader(lit);
}

TEST_P(LitMeshGL, MeshNodesDrawTheirTrianglesUnderTheirTransforms)
{
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    MeshObject jointed;
    jointed.SetMesh(MakeJointedQuads());
    jointed.SetShader(lit);
    const Matrix4& view = BeginPerspective();
    theShaderManager->BindShader(lit);
    SceneLighting().ApplyLighting();
    RenderList::Get().Render(view);
    ExpectJointedQuadsDrawn(*context_);
    EXPECT_EQ(Renderer::GetModelViewMatrix(), view);
    theShaderManager->BindShader(InvalidShader);
    theShaderManager->DestroyShader(lit);
}

TEST_P(LitMeshGL, AnObjectWithItsOwnShaderDrawsUnderTheCurrentMatricesWhateverItsTransform)
{
    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle lines = CreateShader("lines.vert", "lines.frag");
    MeshObject quad;
    quad.SetMesh(MakeQuad({0.0f, 0.0f, 0.0f}));
    quad.SetShader(lines);
    // First seen from the right, then from the front: the object's program must follow the view
    // although its identity transform changes nothing on the model-view.
    cdhCamera fromTheRight({2.0f, 0.0f, 5.0f}, {2.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    const Matrix4 rightView = fromTheRight.ApplyCamera();
    Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.5707964f, 1.0f, 0.1f, 100.0f));
    RenderList::Get().Render(rightView);
    theShaderManager->BindShader(InvalidShader);
    context_->BeginFrame();
    const Matrix4& view = BeginPerspective();
    RenderList::Get().Render(view);
    const auto [x, y] = Project({0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(ColorNear(*context_, x, y, {200, 100, 50, 255}));
    theShaderManager->BindShader(InvalidShader);
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    theShaderManager->DestroyShader(lines);
}

TEST_P(LitMeshGL, ProgramsAndMeshesOfAnEarlierContextAreForgottenNotUsed)
{
    const ShaderHandle earlierProgram = CreateShader("lines.vert", "lines.frag");
    theShaderManager->BindShader(earlierProgram);
    MeshObject kept;
    kept.SetMesh(MakeQuad({1.0f, 0.5f, 0.0f}));
    std::unique_ptr<Mesh> discarded = MakeQuad({0.0f, 0.0f, 0.0f});
    ASSERT_TRUE(kept.GetMesh()->IsReady());

    // The renderer starts again on a second context, as after the window's context is rebuilt.
    context_.reset();
    std::string failure;
    context_ = GLTestContext::Create(GetParam(), kWindowSize, kWindowSize, failure);
    ASSERT_TRUE(context_) << failure;
    context_->BeginFrame();
    const std::uint32_t twoDimensionalProgram = context_->CurrentProgram();
    EXPECT_EQ(theShaderManager->GetBoundShader(), InvalidShader);
    EXPECT_FALSE(kept.GetMesh()->IsReady());

    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle program = CreateShader("lines.vert", "lines.frag");
    EXPECT_TRUE(glIsProgram(program)) << "the pair is loaded again in this context";
    MeshObject fresh;
    fresh.SetMesh(MakeQuad({-1.0f, -0.5f, 0.0f}));
    fresh.SetShader(program);
    kept.SetShader(program);
    // Its names were made in the first context; the second may have given them to `fresh`.
    discarded.reset();
    const Matrix4& view = BeginPerspective();
    RenderList::Get().Render(view);
    EXPECT_EQ(context_->CurrentProgram(), program);
    for (const Vector3& center : {Vector3(1.0f, 0.5f, 0.0f), Vector3(-1.0f, -0.5f, 0.0f)}) {
        const auto [x, y] = Project(center);
        EXPECT_TRUE(ColorNear(*context_, x, y, {200, 100, 50, 255})) << center.x;
    }
    theShaderManager->BindShader(InvalidShader);
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram) << "the fallback is this context's";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    theShaderManager->DestroyShader(program);
}

TEST_P(LitMeshGL, TheSunStaysInTheWorldWhereverTheCameraLooksFrom)
{
    // A square on the ground, facing up (clockwise seen from above), under a sun straight above.
    std::vector<Vertex3D> vertices;
    for (const auto& [x, z] : {std::pair{-0.4f, -0.4f}, {0.4f, -0.4f}, {0.4f, 0.4f}, {-0.4f, 0.4f}}) {
        Vertex3D vertex;
        vertex.x = x;
        vertex.z = z;
        vertex.color = kQuadColor;
        vertices.push_back(vertex);
    }
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    MeshObject ground;
    ground.SetMesh(CreateMeshFromData(vertices, {0, 1, 2, 0, 2, 3}, kPositions | kColors));
    ground.SetShader(lit);
    SceneLighting lighting;
    lighting.sunDirection = {0.0f, 3.0f, 0.0f};
    const Rgba fullSun = {210, 105, 40, 255}; // colour x (ambient + sun), red and green clamped
    // From above at 45 degrees, and from the side and above with the camera turned about y.
    for (const Vector3& eye : {Vector3(0.0f, 2.0f, 2.0f), Vector3(2.0f, 2.0f, 0.5f)}) {
        SCOPED_TRACE(eye.x);
        context_->BeginFrame();
        cdhCamera camera(eye, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        const Matrix4& view = camera.ApplyCamera();
        Renderer::SetProjectionMatrix(Marrowgate::Core::CreatePerspectiveRH(1.5707964f, 1.0f, 0.1f, 100.0f));
        theShaderManager->BindShader(lit);
        lighting.ApplyLighting();
        RenderList::Get().Render(view);
        const auto [x, y] = Project({0.0f, 0.0f, 0.0f});
        EXPECT_TRUE(ColorNear(*context_, x, y, fullSun));
        const Rgba pixel = context_->ReadPixel(x, y);
        EXPECT_GE(pixel[0], 200) << int{pixel[0]} << " " << int{pixel[1]} << " " << int{pixel[2]};
        theShaderManager->BindShader(InvalidShader);
    }
    theShaderManager->DestroyShader(lit);
}

// The quad of MakeQuad at the end of more vertices than 16-bit indices can reach.
std::unique_ptr<Mesh> MakeQuadBeyond16BitIndices(const Vector3& center)
{
    MeshData quad = MakeQuad(center)->GetData();
    std::vector<Vertex3D> vertices(65536, quad.vertices.front());
    std::vector<std::uint32_t> indices;
    for (std::uint32_t index : quad.indices) {
        indices.push_back(index + 65536u);
    }
    vertices.insert(vertices.end(), quad.vertices.begin(), quad.vertices.end());
    return CreateMeshFromData(std::move(vertices), std::move(indices), kPositions | kColors | kNormals);
}

TEST_P(LitMeshGL, MeshesBeyond16BitIndicesDrawWhereTheContextHasWideIndices)
{
    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    MeshObject large;
    large.SetMesh(MakeQuadBeyond16BitIndices({0.0f, 0.0f, 0.0f}));
    large.SetShader(lit);
    MeshObject small;
    small.SetMesh(MakeQuad({1.0f, 0.5f, 0.0f}));
    small.SetShader(lit);
    const Matrix4& view = BeginPerspective();
    theShaderManager->BindShader(lit);
    SceneLighting().ApplyLighting();
    RenderList::Get().Render(view);
    for (const Vector3& center : {Vector3(0.0f, 0.0f, 0.0f), Vector3(1.0f, 0.5f, 0.0f)}) {
        const auto [x, y] = Project(center);
        EXPECT_GT(context_->ReadPixel(x, y)[0], 100) << center.x;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    theShaderManager->BindShader(InvalidShader);
    theShaderManager->DestroyShader(lit);
}

INSTANTIATE_TEST_SUITE_P(ShaderSetUps, LitMeshGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

using FixedFunctionMeshGL = MeshGL;

TEST_P(FixedFunctionMeshGL, DrawsMeshesUnlitInTheirVertexColours)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(CreateShader("lit.vert", "lit.frag"), InvalidShader);
    MeshObject quad;
    quad.SetMesh(MakeQuad({1.0f, 0.5f, 0.0f}));
    const Matrix4& view = BeginPerspective();
    SceneLighting().ApplyLighting();
    RenderList::Get().Render(view);
    const auto [x, y] = Project({1.0f, 0.5f, 0.0f});
    EXPECT_TRUE(ColorNear(*context_, x, y, {200, 100, 50, 255}));
    EXPECT_EQ(Renderer::GetModelViewMatrix(), view);

    quad.SetMesh(MakeJointedQuads());
    RenderList::Get().Render(view);
    ExpectJointedQuadsDrawn(*context_);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

INSTANTIATE_TEST_SUITE_P(Legacy, FixedFunctionMeshGL, testing::Values(RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
