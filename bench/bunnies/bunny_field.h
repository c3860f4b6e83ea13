#pragma once
// The bunnies scene without any drawing: N sprites of 32 x 32 pixels that move, fall and bounce
// inside a 1280 x 720 window, one fixed step per frame. Every program of the comparison moves
// the same field from the same seed, so each draws the same pixels in every frame.
#include <cstdint>
#include <vector>

namespace QuorvaneBench {

inline constexpr float kWindowWidth = 1280.0f;
inline constexpr float kWindowHeight = 720.0f;
inline constexpr float kBunnySize = 32.0f;

struct Bunny
{
    float x = 0.0f; // top-left corner, pixels, y down
    float y = 0.0f;
    float velocityX = 0.0f; // pixels per frame
    float velocityY = 0.0f;
};

class BunnyField
{
public:
    // Spread over the whole window with random velocities, so the fill is even from the start.
    explicit BunnyField(int count);

    // One frame of motion: gravity, and walls and a floor that reflect.
    void Step();

    const std::vector<Bunny>& GetBunnies() const { return mBunnies; }

private:
    // A fixed generator rather than <random>'s distributions, whose results the standard leaves
    // to each library: the programs must agree to the bit.
    float NextUnit();

    std::vector<Bunny> mBunnies;
    std::uint32_t mRandomState = 0x2545F491u;
};

} // namespace QuorvaneBench
