#include "bunny_field.h"

namespace QuorvaneBench {

namespace {

constexpr float kGravity = 0.5f;
constexpr float kMaximumStartSpeed = 4.0f;
constexpr float kRightWall = kWindowWidth - kBunnySize;
constexpr float kFloor = kWindowHeight - kBunnySize;

} // namespace

BunnyField::BunnyField(int count)
{
    mBunnies.resize(static_cast<std::size_t>(count > 0 ? count : 0));
    for (Bunny& bunny : mBunnies) {
        bunny.x = NextUnit() * kRightWall;
        bunny.y = NextUnit() * kFloor;
        bunny.velocityX = (NextUnit() * 2.0f - 1.0f) * kMaximumStartSpeed;
        bunny.velocityY = (NextUnit() * 2.0f - 1.0f) * kMaximumStartSpeed;
    }
}

void BunnyField::Step()
{
    for (Bunny& bunny : mBunnies) {
        bunny.x += bunny.velocityX;
        bunny.y += bunny.velocityY;
        bunny.velocityY += kGravity;
        if (bunny.x > kRightWall) {
            bunny.x = kRightWall;
            bunny.velocityX = -bunny.velocityX;
        } else if (bunny.x < 0.0f) {
            bunny.x = 0.0f;
            bunny.velocityX = -bunny.velocityX;
        }
        if (bunny.y > kFloor) {
            bunny.y = kFloor;
            // Without loss, so the bunnies keep filling the whole window rather than settle in a
            // heap on the floor, and every frame costs about the same to fill.
            bunny.velocityY = -bunny.velocityY;
        } else if (bunny.y < 0.0f) {
            bunny.y = 0.0f;
            bunny.velocityY = 0.0f;
        }
    }
}

float BunnyField::NextUnit()
{
    // xorshift32; the top 24 bits make a float in [0, 1) exactly.
    mRandomState ^= mRandomState << 13;
    mRandomState ^= mRandomState >> 17;
    mRandomState ^= mRandomState << 5;
    return static_cast<float>(mRandomState >> 8) * (1.0f / 16777216.0f);
}

} // namespace QuorvaneBench
