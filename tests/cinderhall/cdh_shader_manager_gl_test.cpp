// The shader manager against real contexts of both shader set-ups: caching, reference counts,
// the fallback program, the bind stack, uniforms and the lighting they carry.

#include "gl_fixture.h"

#include "cinderhall/cdh_visualization.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "support/error_capture.h"
#include "support/gl_call_counter.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <filesystem>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;

std::array<float, 4> UniformOf(ShaderHandle program, const char* name)
{
    std::array<float, 4> value{};
    glGetUniformfv(program, glGetUniformLocation(program, name), value.data());
    return value;
}

void ExpectVectorNear(const std::array<float, 4>& actual, const std::array<float, 4>& expected)
{
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
    }
}

// Whether a compiler log points at this line in one of the drivers' usual forms: Mesa's "0:3(19)",
// "ERROR: 0:3:" and "0(3) :".
bool LogNamesLine(const std::string& log, int line)
{
    const std::string number = std::to_string(line);
    return log.find("0:" + number + "(") != std::string::npos ||
           log.find("0:" + number + ":") != std::string::npos ||
           log.find("0(" + number + ")") != std::string::npos;
}

using ShaderManagerGL = GLFixture;

TEST_P(ShaderManagerGL, SamePairSharesOneProgramUntilTheLastDestroy)
{
    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle first = CreateShader("lit.vert", "lit.frag");
    ASSERT_NE(first, InvalidShader);
    // The key is the plain concatenation: ".../lit.ve" + "rt.../lit.frag" names the same pair.
    const std::string vertex = ShaderPath("lit.vert");
    const std::string split = vertex.substr(0, vertex.size() - 2);
    const ShaderHandle concatenated =
        theShaderManager->CreateShaderFromFile(split, "rt" + ShaderPath("lit.frag"));
    EXPECT_EQ(concatenated, first);

    theShaderManager->DestroyShader(first);
    EXPECT_TRUE(glIsProgram(first));
    theShaderManager->DestroyShader(first);
    EXPECT_FALSE(glIsProgram(first));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

TEST_P(ShaderManagerGL, VertexInputsGetTheVertex3DLocations)
{
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    EXPECT_EQ(glGetAttribLocation(lit, "vertexPosition"), 0);
    EXPECT_EQ(glGetAttribLocation(lit, "vertexNormal"), 1);
    EXPECT_EQ(glGetAttribLocation(lit, "vertexColor"), 2);
    theShaderManager->DestroyShader(lit);
}

TEST_P(ShaderManagerGL, InvalidShaderRestoresTheProgramCurrentAtTheFirstBind)
{
    theShaderManager->BindShader(InvalidShader);
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);

    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    theShaderManager->BindShader(lit);
    EXPECT_EQ(context_->CurrentProgram(), lit);
    theShaderManager->DestroyShader(lit);
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_)
        << "destroying the bound program unbinds it";
    EXPECT_EQ(theShaderManager->GetBoundShader(), InvalidShader);
}

TEST_P(ShaderManagerGL, PushUploadsTheMatricesAndPopReturns)
{
    const ShaderHandle lines = CreateShader("lines.vert", "lines.frag");
    Renderer::Translate(3.0f, 4.0f, 0.0f);
    theShaderManager->PushShader(lines);
    EXPECT_EQ(context_->CurrentProgram(), lines);
    float uploaded[16] = {};
    glGetUniformfv(lines, glGetUniformLocation(lines, "mvpMatrix"), uploaded);
    const Marrowgate::Core::Matrix4 expected = Renderer::GetModelViewProjectionMatrix().GetTransposed();
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(uploaded[i], expected.m[i]) << i;
    }
    theShaderManager->PopShader();
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);

    QuorvaneTest::ErrorCapture errors;
    theShaderManager->PopShader();
    EXPECT_TRUE(errors.Fired()) << "a pop without a push is reported, not a read past the stack";
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);
    theShaderManager->DestroyShader(lines);
}

TEST_P(ShaderManagerGL, UniformsReachTheirProgramAndLeaveTheBindingAlone)
{
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    const ShaderHandle lines = CreateShader("lines.vert", "lines.frag");
    theShaderManager->BindShader(lines);
    theShaderManager->SetShaderUniform(lit, "materialColor", 0.25f, 0.5f, 0.75f, 1.0f);
    theShaderManager->SetShaderUniform(lit, "noSuchUniform", 1.0f, 1.0f, 1.0f, 1.0f);
    ExpectVectorNear(UniformOf(lit, "materialColor"), {0.25f, 0.5f, 0.75f, 1.0f});
    EXPECT_EQ(context_->CurrentProgram(), lines);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // With the identity model-view the sun direction arrives normalised, as set.
    theShaderManager->BindShader(lit);
    Renderer::SetModelViewMatrix(Marrowgate::Core::Matrix4());
    SceneLighting lighting;
    lighting.ApplyLighting();
    ExpectVectorNear(UniformOf(lit, "sunLightDirection"), {0.0f, 0.7739573f, 0.6332378f, 0.0f});
    ExpectVectorNear(UniformOf(lit, "sunLightColor"), {1.0f, 1.0f, 0.75f, 1.0f});
    ExpectVectorNear(UniformOf(lit, "ambientLightColor"), {0.051f, 0.051f, 0.04f, 1.0f});
    ExpectVectorNear(UniformOf(lit, "materialColor"), {1.0f, 1.0f, 1.0f, 1.0f});

    // The world direction reaches eye space through the view: a view turned 90 degrees about y
    // takes world z to the view's third column, normalised.
    const Marrowgate::Core::Matrix4 view = Marrowgate::Core::CreateRotationY(Marrowgate::Core::PiOverTwo);
    Renderer::SetModelViewMatrix(view);
    lighting.sunDirection = {0.0f, 0.0f, 2.0f};
    lighting.ApplyLighting();
    ExpectVectorNear(UniformOf(lit, "sunLightDirection"), {view.m[2], view.m[6], view.m[10], 0.0f});
    ASSERT_NEAR(std::abs(view.m[2]), 1.0f, 1e-5f);

    lighting.sunDirection = {0.0f, 0.0f, 0.0f};
    lighting.ApplyLighting();
    ExpectVectorNear(UniformOf(lit, "sunLightDirection"), {0.0f, 0.0f, 0.0f, 0.0f});

    theShaderManager->DestroyShader(lit);
    theShaderManager->DestroyShader(lines);
}

TEST_P(ShaderManagerGL, LightingAndMatricesReachTheBoundProgramWithoutLookUpsOrSwitches)
{
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    theShaderManager->BindShader(lit);
    SceneLighting lighting;
    lighting.ApplyLighting();
    Renderer::Translate(1.0f, 0.0f, 0.0f);
    {
        const QuorvaneTest::GLCallCounter counter;
        for (int frame = 0; frame < 3; ++frame) {
            lighting.ApplyLighting();
            for (int object = 0; object < 10; ++object) {
                Renderer::PushMatrix();
                Renderer::Translate(static_cast<float>(object), 0.0f, 0.0f);
                Renderer::PopMatrix();
            }
        }
        EXPECT_EQ(counter.Calls("getUniformLocation"), 0);
        EXPECT_EQ(counter.Calls("useProgram"), 0);
        EXPECT_EQ(counter.Calls("uniform4fv"), 0) << "the same lighting again uploads nothing";
    }
    ExpectVectorNear(UniformOf(lit, "materialColor"), {1.0f, 1.0f, 1.0f, 1.0f});
    theShaderManager->BindShader(InvalidShader);
    theShaderManager->DestroyShader(lit);
}

template <std::size_t N> std::array<float, N> FloatsOf(ShaderHandle program, const char* name)
{
    std::array<float, N> value{};
    glGetUniformfv(program, glGetUniformLocation(program, name), value.data());
    return value;
}

GLint IntOf(ShaderHandle program, const char* name)
{
    GLint value = -1;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

TEST_P(ShaderManagerGL, UniformsOfEveryCommonTypeAreSetByNameWithOneLookUpEach)
{
    using namespace Marrowgate::Core;
    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle typed = CreateShader("typed.vert", "typed.frag");
    ASSERT_NE(typed, InvalidShader);
    const Matrix4 transform = MatrixCreateTranslation(1.0f, 2.0f, 3.0f);
    const Matrix3 tint(1, 2, 3, 4, 5, 6, 7, 8, 9);
    const auto setAll = [&] {
        theShaderManager->SetShaderUniform(typed, "weight", 0.5f);
        theShaderManager->SetShaderUniform(typed, "steps", 7);
        theShaderManager->SetShaderUniform(typed, "picture", 3);
        theShaderManager->SetShaderUniform(typed, "offset", Vector2(0.25f, -0.25f));
        theShaderManager->SetShaderUniform(typed, "scale", Vector3(1.0f, 2.0f, 4.0f));
        theShaderManager->SetShaderUniform(typed, "shade", Vector4(0.1f, 0.2f, 0.3f, 0.4f));
        theShaderManager->SetShaderUniform(typed, "tint", tint);
        theShaderManager->SetShaderUniform(typed, "extraTransform", transform);
    };
    setAll();
    {
        const QuorvaneTest::GLCallCounter counter;
        setAll();
        EXPECT_EQ(counter.Calls("getUniformLocation"), 0) << "locations are cached per program";
    }
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_FLOAT_EQ(FloatsOf<1>(typed, "weight")[0], 0.5f);
    EXPECT_EQ(IntOf(typed, "steps"), 7);
    EXPECT_EQ(IntOf(typed, "picture"), 3);
    EXPECT_EQ(FloatsOf<2>(typed, "offset"), (std::array<float, 2>{0.25f, -0.25f}));
    EXPECT_EQ(FloatsOf<3>(typed, "scale"), (std::array<float, 3>{1.0f, 2.0f, 4.0f}));
    ExpectVectorNear(FloatsOf<4>(typed, "shade"), {0.1f, 0.2f, 0.3f, 0.4f});
    // OpenGL holds matrices column by column: the translation arrives in the last column.
    const auto uploaded = FloatsOf<16>(typed, "extraTransform");
    EXPECT_EQ((std::array<float, 3>{uploaded[12], uploaded[13], uploaded[14]}),
              (std::array<float, 3>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(FloatsOf<9>(typed, "tint"), (std::array<float, 9>{1, 4, 7, 2, 5, 8, 3, 6, 9}));
    theShaderManager->DestroyShader(typed);
}

TEST_P(ShaderManagerGL, AMissingOrMistypedUniformIsReportedOnceByProgramAndNameAndNotSet)
{
    const ShaderHandle typed = CreateShader("typed.vert", "typed.frag");
    theShaderManager->SetShaderUniform(typed, "weight", 0.5f);
    QuorvaneTest::ErrorCapture errors;
    const std::string program = "\"" + ShaderPath("typed.vert") + "\" + \"" + ShaderPath("typed.frag") + "\"";
    for (int frame = 0; frame < 3; ++frame) {
        theShaderManager->SetShaderUniform(typed, "weight", 2);
        theShaderManager->SetShaderUniform(typed, "scale", Marrowgate::Core::Vector4(1, 1, 1, 1));
        theShaderManager->SetShaderUniform(typed, "picture", 1.0f);
        theShaderManager->SetShaderUniform(typed, "noSuchUniform", 1.0f);
    }
    ASSERT_EQ(errors.messages.size(), 4u);
    EXPECT_EQ(errors.messages[0], "ShaderManager: Uniform \"weight\" of program " + program +
                                      " is declared float but was given int.");
    EXPECT_EQ(errors.messages[1], "ShaderManager: Uniform \"scale\" of program " + program +
                                      " is declared vec3 but was given vec4.");
    EXPECT_EQ(errors.messages[2], "ShaderManager: Uniform \"picture\" of program " + program +
                                      " is declared sampler2D but was given float.");
    EXPECT_EQ(errors.messages[3],
              "ShaderManager: Program " + program + " has no active uniform \"noSuchUniform\".");
    EXPECT_FLOAT_EQ(FloatsOf<1>(typed, "weight")[0], 0.5f) << "a mistyped value is not set";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    theShaderManager->DestroyShader(typed);
}

TEST_P(ShaderManagerGL, FailuresAreReportedAndNeverHandedOut)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(theShaderManager->CreateShaderFromFile("missing.vert", ShaderPath("lit.frag")), InvalidShader);
    ASSERT_FALSE(errors.messages.empty());
    EXPECT_NE(errors.messages.front().find("File: \"missing.vert\""), std::string::npos);
    EXPECT_NE(std::find(errors.messages.begin(), errors.messages.end(),
                        "Failed to load vertex shader: \"missing.vert\""),
              errors.messages.end());

    // The compiler's and the linker's logs come with the reports, after the files they concern.
    errors.messages.clear();
    EXPECT_EQ(CreateShader("lines.vert", "broken.frag"), InvalidShader);
    ASSERT_EQ(errors.messages.size(), 2u);
    const std::string compileReport =
        "ShaderManager: Failed to compile fragment shader. File: \"" + ShaderPath("broken.frag") + "\"\n";
    EXPECT_EQ(errors.messages[0].substr(0, compileReport.size()), compileReport);
    EXPECT_TRUE(LogNamesLine(errors.messages[0], 3)) << "the author's line, not one past the prelude\n"
                                                     << errors.messages[0];
    const std::string linkReport = "ShaderManager: Failed to link shader program. File: \"" +
                                   ShaderPath("lines.vert") + "\" File: \"" + ShaderPath("broken.frag") +
                                   "\"\n";
    EXPECT_EQ(errors.messages[1].substr(0, linkReport.size()), linkReport);
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);

    errors.messages.clear();
    EXPECT_EQ(CreateShader("broken.vert", "lines.frag"), InvalidShader);
    ASSERT_FALSE(errors.messages.empty());
    EXPECT_EQ(errors.messages[0].rfind("ShaderManager: Failed to compile vertex shader. File: \"" +
                                           ShaderPath("broken.vert") + "\"\n",
                                       0),
              0u)
        << errors.messages[0];
    EXPECT_TRUE(LogNamesLine(errors.messages[0], 5)) << errors.messages[0];
}

TEST_P(ShaderManagerGL, TheGamesShaderPairsBuildWithThePrelude)
{
    const std::string folder = std::string(QUORVANE_SOURCE_DIR) + "/data/shaders/";
    for (const char* pair : {"basic_object_shader", "visualizer_shader"}) {
        SCOPED_TRACE(pair);
        const std::string vertex = folder + pair + ".vert";
        if (!std::filesystem::exists(vertex)) {
            continue;
        }
        QuorvaneTest::ErrorCapture errors;
        const ShaderHandle program = theShaderManager->CreateShaderFromFile(vertex, folder + pair + ".frag");
        EXPECT_NE(program, InvalidShader);
        EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
        EXPECT_NE(glGetUniformLocation(program, "mvpMatrix"), -1);
        theShaderManager->DestroyShader(program);
    }
}

INSTANTIATE_TEST_SUITE_P(ShaderSetUps, ShaderManagerGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
