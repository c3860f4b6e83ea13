#pragma once
/// Sky: what a perspective pass shows behind everything it draws, either a vertical gradient or
/// a cube map made of six images.
/// @file
/// The gradient runs from the horizon colour, level with the eye, to the zenith colour straight
/// up and to the ground colour straight down, linearly in the sine of the elevation. A cube map
/// takes six square images of one size, named for the direction each shows: +x, -x, +y, -y, +z,
/// -z. Each side image is seen upright and unmirrored when looking along its axis; the +y image
/// has its top edge towards -z and the -y image its top edge towards +z (so looking up or down
/// while facing -z, the cameras' default forward, shows them upright). Only the view's turn
/// matters: the sky never comes nearer.
///
/// The images are decoded once and kept, so the cube map rebuilds itself in a new context like
/// every other GL resource of the kit. An image that is missing, cannot be decoded, is not square
/// or differs in size from the others is reported (naming the file and the fault) and the sky
/// keeps what it had before, a gradient or nothing; so does a cube map the driver refuses. Shader set-ups
/// only; the fixed-function set-up draws no sky (the perspective pass says so once). Main thread only.
///
/// Depends on: the shader manager, the basic renderer, colours, math.

#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/graphics/mg_color.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Cinderhall {

class Sky : private Marrowgate::Core::Noncopyable
{
public:
    // No sky: Render draws nothing.
    Sky() = default;
    ~Sky();

    // Replaces a cube map. Colours are taken as given (opaque).
    void SetGradient(const Marrowgate::Graphics::Color& zenith, const Marrowgate::Graphics::Color& horizon,
                     const Marrowgate::Graphics::Color& ground);
    // Paths in the order +x, -x, +y, -y, +z, -z. False after a report; the sky is then unchanged.
    bool LoadCubeMap(const std::array<std::string, 6>& paths);
    // Back to no sky.
    void Clear();
    bool IsEmpty() const { return kind_ == Kind::kNone; }

    // Fills the current viewport with the sky as seen through the view and projection, writing
    // no depth, so whatever is drawn afterwards is in front. The renderer's matrices, the bound
    // program and the depth and culling switches are as before afterwards.
    void Render(const Matrix4& view, const Matrix4& projection);

private:
    enum class Kind
    {
        kNone,
        kGradient,
        kCubeMap
    };

    // Makes the cube map texture in the current context when it has none; false when it cannot.
    bool PrepareTexture();
    void ReleaseTexture();

    Kind kind_ = Kind::kNone;
    // Whether a gradient was set, to fall back on when the driver refuses the cube map.
    bool hasGradient_ = false;
    Marrowgate::Graphics::Color zenith_;
    Marrowgate::Graphics::Color horizon_;
    Marrowgate::Graphics::Color ground_;
    // RGBA rows from the top, one image per face in the order of LoadCubeMap.
    std::array<std::vector<unsigned char>, 6> faces_;
    int faceSide_ = 0;
    std::uint32_t texture_ = 0;
    std::uint64_t textureGeneration_ = 0;
};

} // namespace Cinderhall
