#include "marrowgate/graphics/mg_sprite_sheet.h"

#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {
constexpr char kUnitName[] = "mg_sprite_sheet";
} // namespace

namespace Marrowgate::Graphics {

SpriteSheet SpriteSheet::FromGrid(TextureHandle texture, PixelSpace frameWidth, PixelSpace frameHeight,
                                  PixelSpace spacing, PixelSpace margin)
{
    SpriteSheet sheet;
    const std::uint32_t textureWidth = GetTextureWidth(texture);
    const std::uint32_t textureHeight = GetTextureHeight(texture);
    if (textureWidth == 0 || textureHeight == 0) {
        return sheet; // an unknown texture, reported by the texture manager
    }
    if (frameWidth == 0 || frameHeight == 0 || frameWidth + 2u * margin > textureWidth ||
        frameHeight + 2u * margin > textureHeight) {
        MG_ERROR(
            "mgExternalError: A sprite sheet grid of %u x %u frames with a margin of %u does not fit its "
            "%u x %u texture.",
            unsigned{frameWidth}, unsigned{frameHeight}, unsigned{margin}, textureWidth, textureHeight);
        return sheet;
    }
    sheet.mTexture = texture;
    const std::uint32_t columns = (textureWidth - 2u * margin + spacing) / (frameWidth + spacing);
    const std::uint32_t rows = (textureHeight - 2u * margin + spacing) / (frameHeight + spacing);
    for (std::uint32_t row = 0; row < rows; ++row) {
        for (std::uint32_t column = 0; column < columns; ++column) {
            SheetFrame frame;
            frame.name = std::to_string(row * columns + column);
            frame.image = CreateSpriteFrame(
                texture, static_cast<PixelSpace>(margin + column * (frameWidth + spacing)),
                static_cast<PixelSpace>(margin + row * (frameHeight + spacing)), frameWidth, frameHeight);
            frame.untrimmedWidth = frameWidth;
            frame.untrimmedHeight = frameHeight;
            sheet.AddFrame(std::move(frame));
        }
    }
    return sheet;
}

void SpriteSheet::AddFrame(SheetFrame frame)
{
    if (mTexture == InvalidTexture) {
        mTexture = frame.image.texture;
    }
    mFrameIndices[frame.name] = mFrames.size();
    mFrames.push_back(std::move(frame));
}

bool SpriteSheet::AddAnimation(const std::string& name, Animation animation)
{
    if (animation.frames.empty()) {
        MG_ERROR("mgDataError: Sprite sheet animation \"%s\" has no frames.", name.c_str());
        return false;
    }
    for (std::size_t position = 0; position < animation.frames.size(); ++position) {
        const AnimationFrame& frame = animation.frames[position];
        if (frame.frame >= mFrames.size()) {
            MG_ERROR(
                "mgDataError: Sprite sheet animation \"%s\" names frame %zu, but the sheet has %zu frames.",
                name.c_str(), frame.frame, mFrames.size());
            return false;
        }
        if (frame.durationMilliseconds == 0) {
            MG_ERROR(
                "mgDataError: Sprite sheet animation \"%s\" gives frame \"%s\" a duration of 0 ms; durations "
                "must be at least 1 ms.",
                name.c_str(), mFrames[frame.frame].name.c_str());
            return false;
        }
    }
    mAnimations[name] = std::move(animation);
    return true;
}

std::optional<std::size_t> SpriteSheet::FindFrameIndex(const std::string& name) const
{
    const auto found = mFrameIndices.find(name);
    if (found == mFrameIndices.end()) {
        return std::nullopt;
    }
    return found->second;
}

const Animation* SpriteSheet::FindAnimation(const std::string& name) const
{
    const auto found = mAnimations.find(name);
    return found == mAnimations.end() ? nullptr : &found->second;
}

std::vector<std::string> SpriteSheet::GetAnimationNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, animation] : mAnimations) {
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const SpriteSheet* FindSpriteSheet(const std::string& fileName)
{
    // Sheets are kept for the whole run, as textures are, so frames handed out stay valid.
    static std::map<std::string, std::unique_ptr<SpriteSheet>, std::less<>> sheets;
    auto found = sheets.find(fileName);
    if (found == sheets.end()) {
        auto sheet = std::make_unique<SpriteSheet>(SpriteSheet::LoadFromFile(fileName));
        found = sheets.emplace(fileName, sheet->IsEmpty() ? nullptr : std::move(sheet)).first;
    }
    return found->second.get();
}

SpriteFrame GetAtlasFrame(const std::string& atlasFileName, const std::string& frameName)
{
    const SpriteSheet* sheet = FindSpriteSheet(atlasFileName);
    if (sheet == nullptr) {
        return SpriteFrame();
    }
    const std::optional<std::size_t> index = sheet->FindFrameIndex(frameName);
    if (!index) {
        MG_ERROR("mgExternalError: The atlas has no image \"%s\". File: \"%s\"", frameName.c_str(),
                 atlasFileName.c_str());
        return SpriteFrame();
    }
    return sheet->GetFrame(*index).image;
}

} // namespace Marrowgate::Graphics
