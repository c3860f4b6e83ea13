// Gathered 2D drawing: the same scene drawn with and without batching gives the same picture in
// every set-up, sprites sharing a texture share draw calls, and gathered draws are drawn before
// anything that would change them (a texture going away, the renderer being rebuilt).

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_graphic_list.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"
#include "support/gl_call_counter.h"
#include "support/gl_test_context.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

class SceneList : public GraphicList
{
};

class BatchingTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context = GLTestContext::Create(GetParam(), 160, 120, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
        SetBatchingEnabled(true);
    }
    void TearDown() override { SetBatchingEnabled(true); }

    // 4 x 4 textures with translucent texels, so blending order shows in the picture.
    static TextureHandle Checker(unsigned char red, unsigned char blue)
    {
        QuorvaneTest::Bytes pixels;
        for (int texel = 0; texel < 16; ++texel) {
            const unsigned char alpha = texel % 3 == 0 ? 96 : 255;
            pixels.insert(pixels.end(), {red, static_cast<unsigned char>(texel * 16), blue, alpha});
        }
        const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(4, 4, pixels);
        return CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
    }

    // Draws a frame and returns its pixels with the draw calls it took.
    std::pair<std::vector<Pixel>, std::uint64_t> Capture(const std::function<void()>& draw)
    {
        const std::uint64_t before = GetDrawCallCount();
        context->DrawFrame(draw);
        const std::uint64_t calls = GetDrawCallCount() - before;
        std::vector<Pixel> pixels;
        for (int y = 0; y < context->Height(); ++y) {
            for (int x = 0; x < context->Width(); ++x) {
                pixels.push_back(context->At(x, y));
            }
        }
        return {pixels, calls};
    }

    QuorvaneTest::ErrorCapture errors;
    std::unique_ptr<GLTestContext> context;
};

int CountDifferences(const std::vector<Pixel>& first, const std::vector<Pixel>& second, int tolerance)
{
    int different = 0;
    for (std::size_t index = 0; index < first.size(); ++index) {
        different += QuorvaneTest::IsNear(first[index], second[index], tolerance) ? 0 : 1;
    }
    return different;
}

// One-pixel-wide columns from y 80 to 100 as a triangle list, 150 to a row and drawn over each
// other row by row, each coloured by `colorOf(column)`.
std::vector<Vertex2D> Columns(int count, const std::function<std::uint32_t(int)>& colorOf)
{
    std::vector<Vertex2D> vertices;
    for (int column = 0; column < count; ++column) {
        const float x = static_cast<float>(column % 150);
        const std::uint32_t color = colorOf(column);
        // Clockwise on screen, as the 2D pass's culling wants.
        for (const auto& [vx, vy] : {std::pair{x, 100.0f},
                                     {x, 80.0f},
                                     {x + 1.0f, 100.0f},
                                     {x + 1.0f, 100.0f},
                                     {x, 80.0f},
                                     {x + 1.0f, 80.0f}}) {
            vertices.push_back(Vertex2D{vx, vy, color, 0.5f, 0.5f});
        }
    }
    return vertices;
}

TEST_P(BatchingTest, BatchedAndUnbatchedScenesGiveTheSamePixels)
{
    const TextureHandle red = Checker(255, 40);
    const TextureHandle blue = Checker(30, 255);
    std::vector<std::unique_ptr<Sprite>> sprites;
    for (int index = 0; index < 150; ++index) {
        // A long run of one texture (a batch large enough to be drawn through indices), then
        // short runs of one and the other, at fractional positions and scales.
        auto sprite = std::make_unique<Sprite>(index < 110 || (index / 7) % 2 == 0 ? red : blue);
        sprite->SetPosition(
            Vector2(static_cast<float>(index % 15) * 9.3f, static_cast<float>(index / 15) * 11.7f));
        sprite->SetScale(Vector2(3.0f + static_cast<float>(index % 4), 2.5f + static_cast<float>(index % 3)));
        sprite->SetColor(Color(0.35f + 0.005f * static_cast<float>(index), 1.0f, 0.8f, 0.9f));
        sprites.push_back(std::move(sprite));
    }
    BoxShape box(50, 30, Color(0.6f, 0.9f, 0.3f, 0.2f), Vector2(20, 60));
    CircleShape circle(18, Color(0.7f, 1.0f, 0.6f, 0.0f), Vector2(90, 40), 20);
    Text text("Ab9", 24.0f);
    text.SetPosition(Vector2(30, 20));
    text.SetColor(Color(ColorPalette::Yellow));
    SceneList turned;
    turned.SetPosition(Vector2(110, 80));
    turned.SetOrientation(37.0f);
    turned.SetScale(1.7f);
    turned.AddManagedGraphic(new BoxShape(14, 9, Color(0.8f, 0.2f, 0.9f, 1.0f), Vector2(0, 0)));
    auto* child = new Sprite(red);
    child->SetScale(Vector2(5, 3));
    child->SetPosition(Vector2(-10, 4));
    turned.AddManagedGraphic(child);
    const std::array<Vertex2D, 4> lines = {{{5, 110, 0xFF00FF00u, 0, 0},
                                            {150, 104, 0xFF00FF00u, 0, 0},
                                            {7, 3, 0xC0FF00FFu, 0, 0},
                                            {7, 100, 0xC0FF00FFu, 0, 0}}};
    const auto draw = [&] {
        for (const auto& sprite : sprites) {
            sprite->Render();
        }
        box.Render();
        circle.Render();
        text.Render();
        turned.Render();
        BindTexture(GetBlankTexture());
        RenderVertices2D(PrimitiveType::Lines, lines.data(), static_cast<std::uint32_t>(lines.size()));
        RenderVertices2D(PrimitiveType::LineStrip, lines.data(), 3);
        sprites.front()->Render();
    };

    const auto [batched, batchedCalls] = Capture(draw);
    SetBatchingEnabled(false);
    const auto [unbatched, unbatchedCalls] = Capture(draw);

    EXPECT_EQ(CountDifferences(batched, unbatched, 1), 0);
    EXPECT_LT(batchedCalls, unbatchedCalls / 4);
    // The scene really was drawn: a red sprite over black at the top-left.
    EXPECT_GT(batched[static_cast<std::size_t>(2 * context->Width() + 2)].red, 100);
    EXPECT_FALSE(errors.Fired()) << errors.Last();
}

TEST_P(BatchingTest, SpritesOfOneTextureShareDrawCallsAndEachTextureChangeCostsOne)
{
    const TextureHandle red = Checker(255, 40);
    const TextureHandle blue = Checker(30, 255);
    SceneList same;
    SceneList alternating;
    for (int index = 0; index < 1000; ++index) {
        auto* sprite = new Sprite(red);
        sprite->SetPosition(
            Vector2(static_cast<float>(index % 40) * 4.0f, static_cast<float>(index / 40) * 4.0f));
        same.AddManagedGraphic(sprite);
        auto* other = new Sprite(index % 2 == 0 ? red : blue);
        other->SetPosition(sprite->GetPosition());
        alternating.AddManagedGraphic(other);
    }
    EXPECT_LE(Capture([&] { same.Render(); }).second, 3u);
    EXPECT_EQ(Capture([&] { alternating.Render(); }).second, 1000u);
    SetBatchingEnabled(false);
    EXPECT_EQ(Capture([&] { same.Render(); }).second, 1000u);
}

TEST_P(BatchingTest, ABatchIsCappedAndADrawLargerThanTheCapStillDraws)
{
    // Far more vertices than one batch holds, in many sprites and in one draw.
    SceneList many;
    for (int index = 0; index < 10000; ++index) {
        auto* sprite = new Sprite(GetBlankTexture());
        sprite->SetScale(Vector2(0.25f, 0.25f));
        sprite->SetPosition(
            Vector2(static_cast<float>(index % 100), 10.0f + static_cast<float>(index / 100)));
        many.AddManagedGraphic(sprite);
    }
    const auto [pixels, calls] = Capture([&] { many.Render(); });
    EXPECT_GE(calls, 2u);
    EXPECT_LE(calls, 4u);
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(99, 69), Pixel{255, 255, 255}));

    const std::vector<Vertex2D> columns = Columns(10000, [](int) { return 0xFF0000FFu; });
    context->DrawFrame([&] {
        BindTexture(GetBlankTexture());
        RenderVertices2D(PrimitiveType::Triangles, columns.data(),
                         static_cast<std::uint32_t>(columns.size()));
    });
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(149, 90), Pixel{255, 0, 0}));
}

TEST_P(BatchingTest, DrawsKeepComingOutWhenTheStreamingBuffersFillUp)
{
    // Per frame: 30,000 gathered quads (about 2.9 MB of vertices) and one draw of 300,000
    // vertices (6 MB), larger than the streaming buffers start. Over three frames the buffers
    // must start afresh and grow without losing a draw.
    // The last row red.
    const std::vector<Vertex2D> columns =
        Columns(50000, [](int column) { return column >= 49850 ? 0xFF0000FFu : 0xFF00FF00u; });
    for (int frame = 0; frame < 3; ++frame) {
        context->DrawFrame([&] {
            BindTexture(GetBlankTexture());
            for (int quad = 0; quad < 30000; ++quad) {
                const float x = static_cast<float>(quad % 100);
                const std::uint32_t color = quad == 29999 ? 0xFFFF0000u : 0xFFFFFFFFu;
                RenderQuad(Vector2(x, 10.0f), Vector2(x + 1.0f, 20.0f), color, 0.5f, 0.5f, 0.5f, 0.5f);
            }
            RenderVertices2D(PrimitiveType::Triangles, columns.data(),
                             static_cast<std::uint32_t>(columns.size()));
        });
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(99, 15), Pixel{0, 0, 255})) << "frame " << frame;
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(0, 15), Pixel{255, 255, 255})) << "frame " << frame;
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(149, 90), Pixel{255, 0, 0})) << "frame " << frame;
    }
}

TEST_P(BatchingTest, StreamingBuffersStaySmallForLittleDrawingAndGrowForMuch)
{
    if (IsFixedFunctionMode()) {
        GTEST_SKIP() << "the legacy set-up draws from client arrays";
    }
    const auto drawQuads = [this](int count) {
        context->DrawFrame([&] {
            BindTexture(GetBlankTexture());
            for (int quad = 0; quad < count; ++quad) {
                const float x = static_cast<float>(quad % 100);
                RenderQuad(Vector2(x, 10.0f), Vector2(x + 1.0f, 20.0f), 0xFFFFFFFFu, 0.5f, 0.5f, 0.5f, 0.5f);
            }
        });
    };
    const mgImplementation::StreamBuffer& vertices = mgImplementation::theRendererState.vertexStream;
    const std::size_t initial = vertices.GetCapacity();
    // A score display's worth of quads a frame for a long while.
    for (int frame = 0; frame < 200; ++frame) {
        drawQuads(40);
    }
    EXPECT_EQ(vertices.GetCapacity(), initial);
    // Tens of thousands of sprites a frame: the buffer grows well past one batch (under 1 MB), so
    // that it is not orphaned several times a frame, and no further than its limit.
    for (int frame = 0; frame < 12; ++frame) {
        drawQuads(40000);
    }
    EXPECT_GE(vertices.GetCapacity(), std::size_t{2} << 20);
    EXPECT_LE(vertices.GetCapacity(), std::size_t{4} << 20);
}

// A small draw that repeats last frame's bytes is drawn from where they already are; a changed
// one, and the same bytes after the stream started afresh, are uploaded and drawn as they are.
TEST_P(BatchingTest, SmallDrawsUnchangedSinceLastFrameAreNotUploadedAgain)
{
    if (IsFixedFunctionMode()) {
        GTEST_SKIP() << "the legacy set-up draws from client arrays";
    }
    const auto drawBars = [this](std::uint32_t middleColor, int fillerQuads) {
        context->DrawFrame([&] {
            BindTexture(GetBlankTexture());
            for (int quad = 0; quad < fillerQuads; ++quad) {
                RenderQuad(Vector2(0.0f, 100.0f), Vector2(1.0f, 101.0f), 0xFF000000u, 0.5f, 0.5f, 0.5f, 0.5f);
            }
            Flush();
            for (int bar = 0; bar < 3; ++bar) {
                const float left = 10.0f + 20.0f * static_cast<float>(bar);
                RenderQuad(Vector2(left, 10.0f), Vector2(left + 10.0f, 30.0f),
                           bar == 1 ? middleColor : 0xFFFFFFFFu, 0.5f, 0.5f, 0.5f, 0.5f);
            }
        });
    };
    const auto uploadsWhileDrawing = [&](std::uint32_t middleColor, int fillerQuads) {
        const QuorvaneTest::GLCallCounter counter;
        drawBars(middleColor, fillerQuads);
        return counter.Calls("bufferSubData");
    };
    const Pixel white{255, 255, 255};
    const Pixel red{255, 0, 0};
    drawBars(0xFF0000FFu, 0);
    EXPECT_EQ(uploadsWhileDrawing(0xFF0000FFu, 0), 0);
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(35, 20), red));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(55, 20), white));

    EXPECT_EQ(uploadsWhileDrawing(0xFFFFFFFFu, 0), 1);
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(35, 20), white)) << "the changed bar";
    EXPECT_EQ(uploadsWhileDrawing(0xFF0000FFu, 0), 0) << "the red bars are still in the stream";
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(35, 20), red));

    // Enough quads before them to fill the vertex stream: it starts afresh, and the bars'
    // earlier bytes are gone with the old storage.
    const std::size_t fillerQuads = mgImplementation::theRendererState.vertexStream.GetCapacity() / 96u + 1u;
    drawBars(0xFF0000FFu, static_cast<int>(fillerQuads));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(15, 20), white));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(35, 20), red));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(55, 20), white));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_P(BatchingTest, GatheredDrawsAreDrawnBeforeTheirTextureGoesAway)
{
    Sprite sprite(GetBlankTexture());
    sprite.SetScale(Vector2(0.5f, 0.5f));
    context->DrawFrame([&] {
        sprite.Render();
        // Rebuilding the textures deletes the one the pending quad samples.
        ReleaseGraphicsResources();
        CreateGraphicsResources();
    });
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(4, 4), Pixel{255, 255, 255}));
}

TEST_P(BatchingTest, TheRendererDrawsAgainAfterItsResourcesAreRebuilt)
{
    Sprite sprite(GetBlankTexture());
    sprite.SetScale(Vector2(0.5f, 0.5f));
    ReleaseGraphicsResources();
    CleanupRenderer();
    InitializeRenderer();
    CreateGraphicsResources();
    context->DrawFrame([&] { sprite.Render(); });
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(4, 4), Pixel{255, 255, 255}));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(12, 4), Pixel{0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, BatchingTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
