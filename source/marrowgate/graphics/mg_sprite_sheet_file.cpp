// Reading sprite sheet files: the JSON description of frames and animations over one image.

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_dynamic_structure.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_json_parser.h"
#include "marrowgate/graphics/mg_sprite_sheet.h"

#include <cstdlib>
#include <filesystem>
#include <set>

namespace {
constexpr char kUnitName[] = "mg_sprite_sheet_file";
} // namespace

namespace Marrowgate::Graphics {

using Core::DynamicStructure;

namespace {

std::optional<double> ReadNumber(const DynamicStructure& value)
{
    if (value.IsInteger()) {
        return static_cast<double>(value.AsInteger(false));
    }
    if (value.IsFloat()) {
        return static_cast<double>(value.AsFloat(false));
    }
    return std::nullopt;
}

const DynamicStructure& Member(const DynamicStructure& structure, const char* name)
{
    return structure.IsStructure() ? structure.GetMember(name) : Core::NullValue;
}

// A whole pixel count or position: a number from 0 to 65535 without a fraction.
std::optional<PixelSpace> ReadPixels(const DynamicStructure& value)
{
    const std::optional<double> number = ReadNumber(value);
    if (!number || *number < 0.0 || *number > 65535.0 ||
        *number != static_cast<double>(static_cast<int>(*number))) {
        return std::nullopt;
    }
    return static_cast<PixelSpace>(*number);
}

// Milliseconds: absent gives the fallback; 0, negative, fractional or huge values give nothing.
std::optional<std::uint32_t> ReadDuration(const DynamicStructure& value, std::uint32_t fallback)
{
    if (value.IsNil()) {
        return fallback;
    }
    const std::optional<double> number = ReadNumber(value);
    if (!number || *number < 1.0 || *number > 3600000.0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*number);
}

std::string DescribeDuration(const DynamicStructure& value)
{
    return value.IsString() ? value.AsString(false) : value.AsString(true);
}

class SheetReader
{
public:
    SheetReader(SpriteSheet& sheet, TextureHandle texture) : mSheet(sheet), mTexture(texture) {}

    void ReadFrames(const DynamicStructure& frames);
    void ReadAnimations(const DynamicStructure& animations);

private:
    std::optional<SheetFrame> ReadFrame(const std::string& name, const DynamicStructure& description) const;
    std::optional<Animation> ReadAnimation(const std::string& name,
                                           const DynamicStructure& description) const;
    std::optional<std::size_t> ReadFrameReference(const std::string& animation,
                                                  const DynamicStructure& entry) const;
    void ResolveAlias(const std::string& name, const DynamicStructure& animations);

    SpriteSheet& mSheet;
    TextureHandle mTexture;
};

std::optional<SheetFrame> SheetReader::ReadFrame(const std::string& name,
                                                 const DynamicStructure& description) const
{
    const std::optional<PixelSpace> x = ReadPixels(Member(description, "x"));
    const std::optional<PixelSpace> y = ReadPixels(Member(description, "y"));
    const std::optional<PixelSpace> width = ReadPixels(Member(description, "w"));
    const std::optional<PixelSpace> height = ReadPixels(Member(description, "h"));
    if (!x || !y || !width || !height || *width == 0 || *height == 0) {
        MG_ERROR(
            "mgDataError: Sprite sheet frame \"%s\" needs whole numbers \"x\", \"y\", \"w\" and \"h\" (w and "
            "h above 0).",
            name.c_str());
        return std::nullopt;
    }
    const std::uint32_t textureWidth = GetTextureWidth(mTexture);
    const std::uint32_t textureHeight = GetTextureHeight(mTexture);
    if (std::uint32_t{*x} + *width > textureWidth || std::uint32_t{*y} + *height > textureHeight) {
        MG_ERROR(
            "mgDataError: Sprite sheet frame \"%s\" (x %u, y %u, %u x %u) lies outside its %u x %u image.",
            name.c_str(), unsigned{*x}, unsigned{*y}, unsigned{*width}, unsigned{*height}, textureWidth,
            textureHeight);
        return std::nullopt;
    }
    const DynamicStructure& duration = Member(description, "duration");
    const std::optional<std::uint32_t> milliseconds =
        ReadDuration(duration, SpriteSheet::kDefaultFrameMilliseconds);
    if (!milliseconds) {
        MG_ERROR("mgDataError: Sprite sheet frame \"%s\" has the duration %s; durations are at least 1 ms.",
                 name.c_str(), DescribeDuration(duration).c_str());
        return std::nullopt;
    }
    SheetFrame frame;
    frame.name = name;
    frame.image = CreateSpriteFrame(mTexture, *x, *y, *width, *height);
    frame.durationMilliseconds = *milliseconds;
    frame.untrimmedWidth = *width;
    frame.untrimmedHeight = *height;
    const DynamicStructure& trim = Member(description, "trim");
    if (!trim.IsNil()) {
        const std::optional<PixelSpace> left = ReadPixels(Member(trim, "x"));
        const std::optional<PixelSpace> top = ReadPixels(Member(trim, "y"));
        const std::optional<PixelSpace> untrimmedWidth = ReadPixels(Member(trim, "w"));
        const std::optional<PixelSpace> untrimmedHeight = ReadPixels(Member(trim, "h"));
        if (!left || !top || !untrimmedWidth || !untrimmedHeight || *left + *width > *untrimmedWidth ||
            *top + *height > *untrimmedHeight) {
            MG_ERROR("mgDataError: Sprite sheet frame \"%s\" has a \"trim\" that does not hold its %u x %u "
                     "pixels.",
                     name.c_str(), unsigned{*width}, unsigned{*height});
            return std::nullopt;
        }
        frame.trimOffset = Vector2(*left, *top);
        frame.untrimmedWidth = *untrimmedWidth;
        frame.untrimmedHeight = *untrimmedHeight;
    }
    const DynamicStructure& pivot = Member(description, "pivot");
    if (!pivot.IsNil()) {
        const std::optional<double> pivotX =
            pivot.IsArray() && pivot.size() == 2 ? ReadNumber(pivot[0]) : std::nullopt;
        const std::optional<double> pivotY =
            pivot.IsArray() && pivot.size() == 2 ? ReadNumber(pivot[1]) : std::nullopt;
        if (!pivotX || !pivotY) {
            MG_ERROR("mgDataError: Sprite sheet frame \"%s\" has a \"pivot\" that is not two numbers.",
                     name.c_str());
            return std::nullopt;
        }
        frame.pivot = Vector2(static_cast<float>(*pivotX), static_cast<float>(*pivotY));
        frame.hasPivot = true;
    }
    return frame;
}

void SheetReader::ReadFrames(const DynamicStructure& frames)
{
    for (const std::string& name : frames.GetMemberNames()) {
        if (std::optional<SheetFrame> frame = ReadFrame(name, frames.GetMember(name.c_str()))) {
            mSheet.AddFrame(std::move(*frame));
        }
    }
}

std::optional<std::size_t> SheetReader::ReadFrameReference(const std::string& animation,
                                                           const DynamicStructure& entry) const
{
    if (entry.IsInteger() && entry.AsInteger(false) >= 0 &&
        static_cast<std::uint64_t>(entry.AsInteger(false)) < mSheet.GetFrameCount()) {
        return static_cast<std::size_t>(entry.AsInteger(false));
    }
    if (entry.IsString()) {
        if (const std::optional<std::size_t> index = mSheet.FindFrameIndex(entry.AsString(false))) {
            return index;
        }
    }
    MG_ERROR(
        "mgDataError: Sprite sheet animation \"%s\" names the frame \"%s\", which the sheet does not have.",
        animation.c_str(), entry.AsString(true).c_str());
    return std::nullopt;
}

std::optional<Animation> SheetReader::ReadAnimation(const std::string& name,
                                                    const DynamicStructure& description) const
{
    const DynamicStructure& frames = Member(description, "frames");
    if (!frames.IsArray()) {
        MG_ERROR("mgDataError: Sprite sheet animation \"%s\" has no \"frames\" list.", name.c_str());
        return std::nullopt;
    }
    const DynamicStructure& durations = Member(description, "durations");
    Animation animation;
    for (std::size_t position = 0; position < frames.size(); ++position) {
        const std::optional<std::size_t> index = ReadFrameReference(name, frames[position]);
        if (!index) {
            return std::nullopt;
        }
        const SheetFrame& frame = mSheet.GetFrame(*index);
        const DynamicStructure& duration =
            durations.IsArray() && position < durations.size() ? durations[position] : Core::NullValue;
        const std::optional<std::uint32_t> milliseconds = ReadDuration(duration, frame.durationMilliseconds);
        if (!milliseconds) {
            MG_ERROR("mgDataError: Sprite sheet animation \"%s\" gives frame \"%s\" the duration %s; "
                     "durations are "
                     "at least 1 ms.",
                     name.c_str(), frame.name.c_str(), DescribeDuration(duration).c_str());
            return std::nullopt;
        }
        animation.frames.push_back({*index, *milliseconds, {}});
    }
    const std::string mode = Member(description, "mode").IsString()
                                 ? Member(description, "mode").AsString(false)
                                 : std::string("loop");
    if (mode == "once") {
        animation.mode = AnimationMode::Once;
    } else if (mode == "pingpong") {
        animation.mode = AnimationMode::PingPong;
    } else if (mode != "loop") {
        MG_ERROR("mgDataError: Sprite sheet animation \"%s\" has the mode \"%s\"; modes are loop, once and "
                 "pingpong.",
                 name.c_str(), mode.c_str());
        return std::nullopt;
    }
    const DynamicStructure& events = Member(description, "events");
    for (const std::string& key : events.GetMemberNames()) {
        char* end = nullptr;
        const unsigned long position = std::strtoul(key.c_str(), &end, 10);
        const DynamicStructure& event = events.GetMember(key.c_str());
        if (key.empty() || *end != '\0' || position >= animation.frames.size() || !event.IsString()) {
            MG_ERROR("mgDataError: Sprite sheet animation \"%s\" has an event at \"%s\", which is not one of "
                     "its %zu "
                     "positions with a name.",
                     name.c_str(), key.c_str(), animation.frames.size());
            return std::nullopt;
        }
        animation.frames[position].event = event.AsString(false);
    }
    return animation;
}

// Follows "alias" links to an animation with frames; a link to an unknown name or back to one
// already passed is reported.
void SheetReader::ResolveAlias(const std::string& name, const DynamicStructure& animations)
{
    std::vector<std::string> chain{name};
    std::set<std::string> seen{name};
    const DynamicStructure* current = &animations.GetMember(name.c_str());
    while (Member(*current, "alias").IsString()) {
        const std::string target = Member(*current, "alias").AsString(false);
        chain.push_back(target);
        if (!seen.insert(target).second) {
            std::string path;
            for (const std::string& link : chain) {
                path += (path.empty() ? "" : " -> ") + link;
            }
            MG_ERROR("mgDataError: Sprite sheet animation \"%s\" is an alias in a cycle (%s).", name.c_str(),
                     path.c_str());
            return;
        }
        current = &animations.GetMember(target.c_str());
        if (current->IsNil()) {
            MG_ERROR(
                "mgDataError: Sprite sheet animation \"%s\" is an alias of \"%s\", which the sheet does not "
                "have.",
                name.c_str(), target.c_str());
            return;
        }
    }
    if (const Animation* target = mSheet.FindAnimation(chain.back())) {
        mSheet.AddAnimation(name, *target);
    }
}

void SheetReader::ReadAnimations(const DynamicStructure& animations)
{
    const std::vector<std::string> names = animations.GetMemberNames();
    for (const std::string& name : names) {
        const DynamicStructure& description = animations.GetMember(name.c_str());
        if (Member(description, "alias").IsNil()) {
            if (std::optional<Animation> animation = ReadAnimation(name, description)) {
                mSheet.AddAnimation(name, std::move(*animation));
            }
        }
    }
    for (const std::string& name : names) {
        if (!Member(animations.GetMember(name.c_str()), "alias").IsNil()) {
            ResolveAlias(name, animations);
        }
    }
}

} // namespace

SpriteSheet SpriteSheet::FromDescription(const DynamicStructure& description, TextureHandle texture,
                                         const std::string& fileName)
{
    const Core::Error::ReportSubject subject(fileName);
    const DynamicStructure& grid = Member(description, "grid");
    const DynamicStructure& frames = Member(description, "frames");
    if (grid.IsStructure() == frames.IsStructure()) {
        MG_ERROR("mgDataError: A sprite sheet needs either a \"grid\" or a \"frames\" object.");
        return SpriteSheet();
    }
    SpriteSheet sheet;
    if (grid.IsStructure()) {
        const std::optional<PixelSpace> frameWidth = ReadPixels(Member(grid, "frameWidth"));
        const std::optional<PixelSpace> frameHeight = ReadPixels(Member(grid, "frameHeight"));
        const DynamicStructure& spacing = Member(grid, "spacing");
        const DynamicStructure& margin = Member(grid, "margin");
        const std::optional<PixelSpace> spacingPixels = spacing.IsNil() ? PixelSpace{0} : ReadPixels(spacing);
        const std::optional<PixelSpace> marginPixels = margin.IsNil() ? PixelSpace{0} : ReadPixels(margin);
        if (!frameWidth || !frameHeight || !spacingPixels || !marginPixels) {
            MG_ERROR(
                "mgDataError: A sprite sheet \"grid\" needs whole numbers \"frameWidth\" and \"frameHeight\" "
                "(\"spacing\" and \"margin\" are optional).");
            return SpriteSheet();
        }
        sheet = FromGrid(texture, *frameWidth, *frameHeight, *spacingPixels, *marginPixels);
    } else {
        sheet.mTexture = texture;
        SheetReader(sheet, texture).ReadFrames(frames);
    }
    const DynamicStructure& animations = Member(description, "animations");
    if (!animations.IsNil() && !animations.IsStructure()) {
        MG_ERROR("mgDataError: A sprite sheet's \"animations\" must be an object of named animations.");
    } else if (!sheet.IsEmpty()) {
        SheetReader(sheet, texture).ReadAnimations(animations);
    }
    return sheet;
}

SpriteSheet SpriteSheet::LoadFromFile(const std::string& fileName)
{
    const std::optional<std::string> text =
        Core::ReadDataFile<std::string>(fileName, Core::kMaximumJsonFileBytes);
    if (!text) {
        return SpriteSheet(); // reported by the reader
    }
    const DynamicStructure description = Core::ParseJson(*text);
    const Core::Error::ReportSubject subject(fileName);
    const DynamicStructure& image = Member(description, "image");
    if (!image.IsString() || image.AsString(false).empty()) {
        MG_ERROR("mgDataError: The file is not a sprite sheet: it needs to be a JSON object with an "
                 "\"image\" file "
                 "name.");
        return SpriteSheet();
    }
    const std::filesystem::path imagePath =
        std::filesystem::path(fileName).parent_path() / image.AsString(false);
    const TextureHandle texture = CreateTextureFromFile(imagePath.string());
    if (texture == InvalidTexture) {
        return SpriteSheet();
    }
    return FromDescription(description, texture, fileName);
}

} // namespace Marrowgate::Graphics
