#pragma once
// A hidden SDL window with an OpenGL context of one of the renderer's three set-ups, the
// renderer initialised in it and a 2D frame begun, for tests that draw and read pixels back.
// Skips the test (valid() false) when no display or no such context is available.

#include <array>
#include <cstdint>
#include <string>

namespace CinderhallTest {

enum class GLSetUp
{
    kDesktop,
    kEmbedded,
    kFixedFunction
};

std::string SetUpName(GLSetUp setUp);

using Rgba = std::array<std::uint8_t, 4>;

class GLTestContext
{
public:
    GLTestContext(GLSetUp setUp, int width, int height);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    bool IsValid() const { return context_ != nullptr; }
    const std::string& GetFailure() const { return failure_; }

    // Black, with the depth buffer cleared, then the renderer's BeginDraw.
    void BeginFrame();
    // The pixel at (x, y) counted from the top-left corner.
    Rgba ReadPixel(int x, int y) const;
    // GL_VERSION of the context.
    std::string GetVersion() const;
    // The program that is current in GL.
    std::uint32_t CurrentProgram() const;

private:
    int height_;
    void* window_ = nullptr;
    void* context_ = nullptr;
    std::string failure_;
};

} // namespace CinderhallTest
