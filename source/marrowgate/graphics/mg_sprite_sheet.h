#pragma once
/// SpriteSheet: the frames of one texture and the named animations over them, for animated
/// sprites and for atlases of still images.
/// @file
/// A sheet comes from a grid laid over a texture (frame size, spacing between frames, margin
/// around them; frames named "0", "1", ... row by row) or from a sheet file in JSON:
///
///     {
///       "image": "hero.png",                        // relative to the JSON file
///       "grid": {"frameWidth": 16, "frameHeight": 16, "spacing": 0, "margin": 0},
///       "frames": {                                 // instead of "grid": named rectangles
///         "walk_0": {"x": 0, "y": 0, "w": 16, "h": 16,
///                    "duration": 100,               // milliseconds, optional (100)
///                    "pivot": [8, 16],              // optional, pixels of the untrimmed frame
///                    "trim": {"x": 1, "y": 2, "w": 18, "h": 18}}  // optional, see below
///       },
///       "animations": {
///         "walk": {"frames": ["walk_0", "walk_1"], // names, or indices for grid frames
///                  "durations": [100, 120],        // optional, else each frame's own
///                  "mode": "loop",                 // "loop", "once" or "pingpong"
///                  "events": {"1": "footstep"}},   // position in the list -> event name
///         "stroll": {"alias": "walk"}
///       }
///     }
///
/// A trimmed frame stores only its visible pixels: "trim" gives where they sit ("x", "y") in
/// the untrimmed frame and that frame's size ("w", "h"), so animations keep their place. The
/// pivot is the point of the frame that an animated sprite puts at its own origin.
///
/// Every sheet shares one texture, so sprites drawn from it batch. A damaged file (a frame
/// outside its image, a duration of 0 or less, an animation naming an unknown frame, a cycle of
/// aliases, JSON that is not a sheet) is reported naming the file and the frame or animation;
/// the bad frame or animation is left out and the rest of the sheet is kept.
/// Depends on: the texture manager, sprites (SpriteFrame), core (JSON reading, errors).

#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/math/mg_vector.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Marrowgate::Core {
class DynamicStructure;
}

namespace Marrowgate::Graphics {

struct SheetFrame
{
    std::string name;
    // The stored pixels on the sheet's texture.
    SpriteFrame image;
    // Where the stored pixels sit inside the untrimmed frame, and that frame's size.
    Vector2 trimOffset;
    float untrimmedWidth = 0.0f;
    float untrimmedHeight = 0.0f;
    // In pixels of the untrimmed frame; (0, 0), the top-left corner, when the sheet gives none.
    Vector2 pivot;
    bool hasPivot = false;
    std::uint32_t durationMilliseconds = 100;
};

enum class AnimationMode
{
    Loop,
    Once,
    PingPong,
};

struct AnimationFrame
{
    std::size_t frame = 0; // index into the sheet's frames
    std::uint32_t durationMilliseconds = 100;
    std::string event; // empty for none
};

struct Animation
{
    std::vector<AnimationFrame> frames;
    AnimationMode mode = AnimationMode::Loop;
};

class SpriteSheet
{
public:
    static constexpr std::uint32_t kDefaultFrameMilliseconds = 100;

    SpriteSheet() = default;
    // Frames named "0", "1", ... row by row. `margin` surrounds the whole grid, `spacing` lies
    // between neighbouring frames; only whole frames count. A frame larger than the texture is
    // reported and gives an empty sheet.
    static SpriteSheet FromGrid(TextureHandle texture, PixelSpace frameWidth, PixelSpace frameHeight,
                                PixelSpace spacing = 0, PixelSpace margin = 0);
    // Reads a sheet file (see above) and its image; an unreadable file or image gives an empty
    // sheet after a report.
    static SpriteSheet LoadFromFile(const std::string& fileName);
    // A sheet described by an already read value over an already made texture; reports name
    // `fileName`.
    static SpriteSheet FromDescription(const Core::DynamicStructure& description, TextureHandle texture,
                                       const std::string& fileName);

    // Frames keep the order they are added in; a name already present then names the new one.
    void AddFrame(SheetFrame frame);
    // Reports and refuses an animation whose frames are unknown or last 0 ms, or an empty one.
    bool AddAnimation(const std::string& name, Animation animation);
    std::optional<std::size_t> FindFrameIndex(const std::string& name) const;
    const Animation* FindAnimation(const std::string& name) const;
    std::vector<std::string> GetAnimationNames() const;

    TextureHandle GetTexture() const { return mTexture; }
    std::size_t GetFrameCount() const { return mFrames.size(); }
    const SheetFrame& GetFrame(std::size_t index) const { return mFrames[index]; }
    bool IsEmpty() const { return mFrames.empty(); }

private:
    TextureHandle mTexture = InvalidTexture;
    std::vector<SheetFrame> mFrames;
    std::unordered_map<std::string, std::size_t> mFrameIndices;
    std::unordered_map<std::string, Animation> mAnimations;
};

// The sheet of an atlas file, read once and kept for the rest of the run; every sprite made
// from it shares its texture. Null after a report when the file cannot be used.
const SpriteSheet* FindSpriteSheet(const std::string& fileName);
// One named image of an atlas file as a sprite frame (Sprite(frame) draws it); an empty frame
// after a report when the atlas or the name is unknown.
SpriteFrame GetAtlasFrame(const std::string& atlasFileName, const std::string& frameName);

} // namespace Marrowgate::Graphics
