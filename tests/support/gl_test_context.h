#pragma once
// A small window with an OpenGL context in one of the renderer's three set-ups, for tests that
// draw and read the pixels back. It makes the context the way the window layer does for that
// set-up (limiting Mesa as an older driver would), sets the renderer's flags, initialises the
// renderer and the texture manager's resources, and undoes all of it on destruction.
// Two ways to draw: DrawFrame runs a whole 2D frame and keeps its picture for At and the
// comparisons; BeginFrame opens a frame that the test draws into and reads with ReadPixel.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace QuorvaneTest {

enum class RendererSetUp
{
    Desktop,
    Embedded,
    FixedFunction
};

std::string SetUpName(RendererSetUp setUp);

struct Pixel
{
    int red = 0;
    int green = 0;
    int blue = 0;
};

using Rgba = std::array<std::uint8_t, 4>;

// True when every channel differs by at most `tolerance`.
bool IsNear(const Pixel& actual, const Pixel& expected, int tolerance = 3);

class GLTestContext
{
public:
    // Null (with the reason in `failure`) when this machine cannot make such a context.
    static std::unique_ptr<GLTestContext> Create(RendererSetUp setUp, int width, int height,
                                                 std::string& failure);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    // Clears to black, runs `draw` between BeginDraw and EndDraw and reads the picture back.
    void DrawFrame(const std::function<void()>& draw);
    // After DrawFrame; (0, 0) is the top-left pixel.
    Pixel At(int x, int y) const;
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // How many pixels differ from the other picture by more than `tolerance` in some channel.
    int CountDifferentPixels(const GLTestContext& other, int tolerance) const;
    // Writes the last picture as a PNG file, for looking at a failure.
    void SavePicture(const std::string& path) const;
    // Releases the window and context but keeps the last picture for comparisons.
    void Detach();

    // Black, with the depth buffer cleared, then the renderer's BeginDraw.
    void BeginFrame();
    // The pixel at (x, y) counted from the top-left corner, as drawn so far.
    Rgba ReadPixel(int x, int y) const;
    // GL_VERSION of the context.
    std::string GetVersion() const;
    // The program that is current in GL.
    std::uint32_t CurrentProgram() const;

private:
    GLTestContext() = default;

    bool mIsAttached = false;
    void* mWindow = nullptr;
    void* mContext = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    std::vector<std::uint8_t> mPixels; // RGBA rows from the top
};

} // namespace QuorvaneTest
