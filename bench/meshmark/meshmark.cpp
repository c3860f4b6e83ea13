// Meshmark: N copies of one lit cube in a game scene, drawn seven ways. Prints one table row.
//   meshmark COUNT --mode MODE [--warm-up FRAMES] [--frames FRAMES]
// per-object: a render list of N objects with the examples' lit program, one draw each;
// instanced:  the same objects with a program that takes the per-instance transform;
// static:     all N cubes baked into one mesh, one draw (what instancing is held against);
// floor:      a plain OpenGL loop over the cube's buffers, two matrix uploads and one draw per
//             cube (what per-object drawing is held against);
// builtin-instanced, builtin-per-object, builtin-static: objects without a program of their
//             own, drawn by the kit's built-in lit program: together in one instanced draw, one
//             draw each (instancing switched off), and as the one baked mesh.
#include "bunny_run.h"

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_mesh_cache.h"
#include "cinderhall/cdh_shader_manager.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace QuorvaneBench;
using namespace Marrowgate;
using Cinderhall::theShaderManager;
using Core::Matrix4;
using Core::Vector3;

enum class Mode
{
    kPerObject,
    kInstanced,
    kStatic,
    kFloor,
    kBuiltInInstanced,
    kBuiltInPerObject,
    kBuiltInStatic
};

constexpr int kModeCount = 7;
constexpr const char* kModeNames[kModeCount] = {"per-object",    "instanced",         "static",
                                                "floor",         "builtin-instanced", "builtin-per-object",
                                                "builtin-static"};
constexpr const char* kModeRows[kModeCount] = {"Cinderhall, render list, one draw per object",
                                               "Cinderhall, render list, instanced",
                                               "one static mesh of every cube",
                                               "plain GL loop, one draw per cube",
                                               "built-in lit program, render list, instanced",
                                               "built-in lit program, render list, one draw per object",
                                               "built-in lit program, one static mesh of every cube"};

bool UsesBuiltInProgram(Mode mode)
{
    return mode == Mode::kBuiltInInstanced || mode == Mode::kBuiltInPerObject || mode == Mode::kBuiltInStatic;
}

// Cubes on a square grid in the z = 0 plane, each turned a little differently.
Matrix4 CubeTransform(int index, int count)
{
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<float>(count))));
    const float spacing = 20.0f / static_cast<float>(side);
    const float x = -10.0f + spacing * (static_cast<float>(index % side) + 0.5f);
    const float y = -10.0f + spacing * (static_cast<float>(index / side) + 0.5f);
    // A product applies its left factor first: scaled, turned, then moved into place.
    return Core::MatrixCreateScale(spacing * 0.3f, spacing * 0.3f, spacing * 0.3f) *
           Core::CreateRotationX(0.7f) * Core::CreateRotationY(0.1f * static_cast<float>(index)) *
           Core::MatrixCreateTranslation(x, y, 0.0f);
}

// Every cube's vertices moved into place: the same triangles as N objects, in one mesh.
std::shared_ptr<Cinderhall::Mesh> BakeCubes(const Cinderhall::MeshData& cube, int count)
{
    std::vector<Cinderhall::Vertex3D> vertices;
    std::vector<std::uint32_t> indices;
    for (int index = 0; index < count; ++index) {
        const Matrix4 transform = CubeTransform(index, count);
        const auto first = static_cast<std::uint32_t>(vertices.size());
        for (Cinderhall::Vertex3D vertex : cube.vertices) {
            const Core::Vector4 position = transform * Core::Vector4(vertex.x, vertex.y, vertex.z, 1.0f);
            const Core::Vector4 normal =
                transform * Core::Vector4(vertex.normalX, vertex.normalY, vertex.normalZ, 0.0f);
            vertex.x = position.x;
            vertex.y = position.y;
            vertex.z = position.z;
            vertex.normalX = normal.x;
            vertex.normalY = normal.y;
            vertex.normalZ = normal.z;
            vertices.push_back(vertex);
        }
        for (std::uint32_t cubeIndex : cube.indices) {
            indices.push_back(first + cubeIndex);
        }
    }
    return Cinderhall::CreateMeshFromData(std::move(vertices), std::move(indices), cube.flags);
}

class MeshmarkScene final : public Game::GameScene
{
public:
    MeshmarkScene(const BunnyRunOptions& options, Mode mode)
        : mMode(mode), mMeter(options.warmUpFrames, options.measuredFrames)
    {
        const std::string data = QUORVANE_SOURCE_DIR;
        mLitShader = theShaderManager->CreateShaderFromFile(data + "/examples/data/shaders/lit.vert",
                                                            data + "/examples/data/shaders/lit.frag");
        mInstancedShader = theShaderManager->CreateShaderFromFile(data + "/bench/meshmark/lit_instanced.vert",
                                                                  data + "/examples/data/shaders/lit.frag");
        mCube = Cinderhall::LoadSharedMesh(data + "/examples/data/mesh/cube.msh");
        // The examples' programs' colour, for the built-in program's objects.
        Cinderhall::Material material;
        material.baseColor = Graphics::Color(1.0f, 1.0f, 0.55f, 0.1f);
        const bool builtIn = UsesBuiltInProgram(mode);
        Cinderhall::SetInstancingEnabled(mode != Mode::kBuiltInPerObject);
        if (mode == Mode::kStatic || mode == Mode::kBuiltInStatic) {
            auto& object = mObjects.emplace_back(std::make_unique<Cinderhall::MeshObject>(mList));
            object->SetMesh(BakeCubes(mCube->GetData(), options.count));
            object->SetShader(builtIn ? Cinderhall::InvalidShader : mLitShader);
            object->SetMaterial(material);
            return;
        }
        for (int index = 0; index < options.count; ++index) {
            mTransforms.push_back(CubeTransform(index, options.count));
            if (mode != Mode::kFloor) {
                auto& object = mObjects.emplace_back(std::make_unique<Cinderhall::MeshObject>(mList));
                object->SetMesh(mCube);
                if (!builtIn) {
                    object->SetShader(mode == Mode::kInstanced ? mInstancedShader : mLitShader);
                }
                object->SetMaterial(material);
                object->SetTransform(mTransforms.back());
            }
        }
    }

    ~MeshmarkScene() override
    {
        theShaderManager->DestroyShader(mInstancedShader);
        theShaderManager->DestroyShader(mLitShader);
    }

    const FrameCosts& GetCosts() const { return mMeter.GetCosts(); }

protected:
    void OnUpdate(float deltaTime) override
    {
        if (!mMeter.MarkFrame()) {
            Game::GameApplication::RequestQuit();
        }
        GameScene::OnUpdate(deltaTime);
    }

    void OnRender() override
    {
        const Matrix4 projection2D = Graphics::GetProjectionMatrix();
        const Matrix4 modelView2D = Graphics::GetModelViewMatrix();
        Graphics::SetProjectionMatrix(
            Core::CreatePerspectiveRH(0.9f, Graphics::ScreenAspectRatio(), 0.1f, 100.0f));
        Graphics::BindTexture(Graphics::GetBlankTexture());
        Cinderhall::cdhCamera camera(Vector3(0.0f, 0.0f, 24.0f), Vector3(), Vector3(0.0f, 1.0f, 0.0f));
        camera.ApplyCamera();
        for (Cinderhall::ShaderHandle shader : {mInstancedShader, mLitShader}) {
            theShaderManager->BindShader(shader);
            mLighting.ApplyLighting();
            theShaderManager->SetShaderUniform(shader, "materialColor", 1.0f, 0.55f, 0.1f, 1.0f);
        }
        if (UsesBuiltInProgram(mMode)) {
            // With no program bound the list draws its objects with the built-in programs.
            theShaderManager->BindShader(Cinderhall::InvalidShader);
        }
        if (mMode == Mode::kFloor) {
            DrawFloor(camera.GetView());
        } else {
            mList.Render(camera.GetView());
        }
        theShaderManager->BindShader(Cinderhall::InvalidShader);
        Graphics::SetProjectionMatrix(projection2D);
        Graphics::SetModelViewMatrix(modelView2D);
        GameScene::OnRender();
    }

private:
    // What a program that owns its buffers and program does per cube, and nothing more.
    void DrawFloor(const Matrix4& view)
    {
        if (mFloorVertexArray == 0) {
            BuildFloorBuffers();
        }
        Graphics::Flush();
        const auto program = static_cast<GLuint>(mLitShader);
        const GLint mvpLocation = glGetUniformLocation(program, "mvpMatrix");
        const GLint modelViewLocation = glGetUniformLocation(program, "modelViewMatrix");
        const Matrix4& projection = Graphics::GetProjectionMatrix();
        glBindVertexArray(mFloorVertexArray);
        const auto indexCount = static_cast<GLsizei>(mCube->GetData().indices.size());
        for (const Matrix4& transform : mTransforms) {
            const Matrix4 modelView = transform * view;
            const Matrix4 modelViewProjection = modelView * projection;
            glUniformMatrix4fv(modelViewLocation, 1, GL_TRUE, modelView.m);
            glUniformMatrix4fv(mvpLocation, 1, GL_TRUE, modelViewProjection.m);
            glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, nullptr);
        }
        glBindVertexArray(0);
    }

    void BuildFloorBuffers()
    {
        const Cinderhall::MeshData& cube = mCube->GetData();
        const std::vector<std::uint16_t> indices(cube.indices.begin(), cube.indices.end());
        GLuint buffers[2] = {};
        glGenVertexArrays(1, &mFloorVertexArray);
        glBindVertexArray(mFloorVertexArray);
        glGenBuffers(2, buffers);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
        glBufferData(GL_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(cube.vertices.size() * sizeof(Cinderhall::Vertex3D)),
                     cube.vertices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint16_t)),
                     indices.data(), GL_STATIC_DRAW);
        constexpr GLsizei stride = sizeof(Cinderhall::Vertex3D);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(Cinderhall::Vertex3D, normalX)));
        glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<const void*>(offsetof(Cinderhall::Vertex3D, color)));
        for (GLuint attribute = 0; attribute < 3; ++attribute) {
            glEnableVertexAttribArray(attribute);
        }
        glBindVertexArray(0);
    }

    Mode mMode;
    FrameMeter mMeter;
    Cinderhall::RenderList mList;
    std::vector<std::unique_ptr<Cinderhall::MeshObject>> mObjects;
    std::vector<Matrix4> mTransforms;
    std::shared_ptr<Cinderhall::Mesh> mCube;
    Cinderhall::ShaderHandle mLitShader = Cinderhall::InvalidShader;
    Cinderhall::ShaderHandle mInstancedShader = Cinderhall::InvalidShader;
    Cinderhall::SceneLighting mLighting;
    GLuint mFloorVertexArray = 0;
};

} // namespace

int main(int argumentCount, char** arguments)
{
    const std::optional<BunnyRunOptions> options =
        ParseBunnyRunOptions(argumentCount, arguments,
                             "--mode per-object|instanced|static|floor|builtin-instanced|builtin-per-object|"
                             "builtin-static");
    if (!options) {
        return 2;
    }
    int mode = -1;
    if (options->flags.size() == 2 && options->flags[0] == "--mode") {
        for (int candidate = 0; candidate < kModeCount; ++candidate) {
            mode = options->flags[1] == kModeNames[candidate] ? candidate : mode;
        }
    }
    if (mode < 0) {
        std::fprintf(stderr, "meshmark: give --mode per-object, instanced, static, floor, builtin-instanced, "
                             "builtin-per-object or builtin-static\n");
        return 2;
    }
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, false);
    application.SetWindowTitle("meshmark");
    FrameCosts costs;
    {
        MeshmarkScene scene(*options, static_cast<Mode>(mode));
        Game::GameApplication::ChangeToScene(&scene);
        application.RunGame(nullptr);
        costs = scene.GetCosts();
    }
    PrintBunnyRow(kModeRows[mode], options->count, costs);
    return EXIT_SUCCESS;
}
