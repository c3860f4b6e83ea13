#pragma once
// A test fixture that opens a 129 x 129 window of the parameter's set-up and begins a 2D frame,
// plus the paths of the test shaders. An odd size puts the centre on a pixel centre.

#include "support/gl_test_context.h"

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_shader_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace CinderhallTest {

using QuorvaneTest::GLTestContext;
using QuorvaneTest::RendererSetUp;
using QuorvaneTest::Rgba;
using QuorvaneTest::SetUpName;

inline constexpr int kWindowSize = 129;

inline std::string ShaderPath(const char* name)
{
    return std::string(QUORVANE_SOURCE_DIR) + "/tests/cinderhall/shaders/" + name;
}

class GLFixture : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context_ = GLTestContext::Create(GetParam(), kWindowSize, kWindowSize, failure);
        if (!context_) {
            GTEST_SKIP() << failure;
        }
        if (GetParam() == RendererSetUp::Embedded) {
            ASSERT_EQ(context_->GetVersion().rfind("OpenGL ES", 0), 0u) << context_->GetVersion();
        }
        context_->BeginFrame();
        twoDimensionalProgram_ = context_->CurrentProgram();
    }
    void TearDown() override { context_.reset(); }

    Cinderhall::ShaderHandle CreateShader(const char* vertex, const char* fragment)
    {
        return Cinderhall::theShaderManager->CreateShaderFromFile(ShaderPath(vertex), ShaderPath(fragment));
    }

    std::unique_ptr<GLTestContext> context_;
    std::uint32_t twoDimensionalProgram_ = 0;
};

// A cube of side 2 around the origin with outward normals, white vertices and the whole texture
// on each face. Faces wind clockwise seen from outside.
std::unique_ptr<Cinderhall::Mesh> MakeTestCube();

// Whether any pixel within one pixel of (x, y) has this colour, each channel within 3.
bool ColorNear(const GLTestContext& context, int x, int y, Rgba expected);

} // namespace CinderhallTest
