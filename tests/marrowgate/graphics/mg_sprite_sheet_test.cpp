#include "marrowgate/core/mg_json_parser.h"
#include "marrowgate/graphics/mg_sprite_sheet.h"
#include "support/error_capture.h"
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::ErrorCapture;

class SpriteSheetTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { sTexture = CreateBlankTexture(64, 32); }

    static SpriteSheet Describe(const std::string& json)
    {
        return SpriteSheet::FromDescription(Marrowgate::Core::ParseJson(json), sTexture, "hero.json");
    }

    static TextureHandle sTexture;
};

TextureHandle SpriteSheetTest::sTexture = InvalidTexture;

TEST_F(SpriteSheetTest, AGridCountsOnlyWholeFramesBetweenItsMarginAndSpacing)
{
    // 64 = 2 + 4 frames of 14 + 3 gaps of 1 + 3 left over; 32 = 2 + 2 frames of 14 + 1 + 1.
    const SpriteSheet sheet = SpriteSheet::FromGrid(sTexture, 14, 14, 1, 1);
    ASSERT_EQ(sheet.GetFrameCount(), 8u);
    const SheetFrame& sixth = sheet.GetFrame(5);
    EXPECT_EQ(sixth.name, "5");
    EXPECT_FLOAT_EQ(sixth.image.x, 1.0f + 15.0f);
    EXPECT_FLOAT_EQ(sixth.image.y, 1.0f + 15.0f);
    EXPECT_EQ(sheet.GetTexture(), sTexture);
}

TEST_F(SpriteSheetTest, AGridFrameLargerThanItsTextureIsReported)
{
    ErrorCapture errors;
    EXPECT_TRUE(SpriteSheet::FromGrid(sTexture, 16, 31, 0, 1).IsEmpty());
    ASSERT_TRUE(errors.Fired());
    EXPECT_NE(errors.Last().find("does not fit its 64 x 32 texture"), std::string::npos) << errors.Last();
}

TEST_F(SpriteSheetTest, AnAtlasReadsNamedFramesWithTrimPivotAndDuration)
{
    ErrorCapture errors;
    const SpriteSheet sheet = Describe(R"({"frames": {
        "a": {"x": 0, "y": 0, "w": 16, "h": 16},
        "b": {"x": 16, "y": 0, "w": 10, "h": 12, "duration": 40, "pivot": [8, 16],
              "trim": {"x": 3, "y": 4, "w": 16, "h": 16}}}})");
    EXPECT_FALSE(errors.Fired());
    ASSERT_EQ(sheet.GetFrameCount(), 2u);
    const SheetFrame& b = sheet.GetFrame(*sheet.FindFrameIndex("b"));
    EXPECT_FLOAT_EQ(b.image.u, 0.25f);
    EXPECT_FLOAT_EQ(b.trimOffset.x, 3.0f);
    EXPECT_FLOAT_EQ(b.untrimmedHeight, 16.0f);
    EXPECT_FLOAT_EQ(b.pivot.y, 16.0f);
    EXPECT_EQ(b.durationMilliseconds, 40u);
    EXPECT_EQ(sheet.GetFrame(*sheet.FindFrameIndex("a")).durationMilliseconds,
              SpriteSheet::kDefaultFrameMilliseconds);
}

TEST_F(SpriteSheetTest, AnimationsTakeFramesByNameOrIndexWithTheirDurationsModesAndEvents)
{
    const SpriteSheet sheet = Describe(R"({"grid": {"frameWidth": 16, "frameHeight": 16},
        "animations": {
          "walk": {"frames": [0, "1", 2], "durations": [10, 20], "mode": "pingpong", "events": {"2": "step"}},
          "stroll": {"alias": "walk"}, "amble": {"alias": "stroll"}}})");
    const Animation* walk = sheet.FindAnimation("walk");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->mode, AnimationMode::PingPong);
    ASSERT_EQ(walk->frames.size(), 3u);
    EXPECT_EQ(walk->frames[1].frame, 1u);
    EXPECT_EQ(walk->frames[1].durationMilliseconds, 20u);
    EXPECT_EQ(walk->frames[2].durationMilliseconds, SpriteSheet::kDefaultFrameMilliseconds);
    EXPECT_EQ(walk->frames[2].event, "step");
    const Animation* amble = sheet.FindAnimation("amble");
    ASSERT_NE(amble, nullptr);
    EXPECT_EQ(amble->frames.size(), 3u);
    EXPECT_EQ(sheet.GetAnimationNames(), (std::vector<std::string>{"amble", "stroll", "walk"}));
}

// Each damage is reported naming the file and what is wrong; the rest of the sheet is kept.
TEST_F(SpriteSheetTest, DamagedSheetsAreReportedNamingTheFileAndTheFrame)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}, "off": {"x": 60, "y": 0, "w": 8, "h": 8}}})",
         "Sprite sheet frame \"off\" (x 60, y 0, 8 x 8) lies outside its 64 x 32 image."},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}, "zero": {"x": 0, "y": 0, "w": 8, "h": 8,
            "duration": 0}}})",
         "Sprite sheet frame \"zero\" has the duration 0; durations are at least 1 ms."},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}}, "animations": {"run": {"frames": ["ok"],
            "durations": [-5]}}})",
         "Sprite sheet animation \"run\" gives frame \"ok\" the duration -5; durations are at least 1 ms."},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}}, "animations": {"run": {"frames": ["gone"]}}})",
         "Sprite sheet animation \"run\" names the frame \"gone\", which the sheet does not have."},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}}, "animations": {"a": {"alias": "b"},
            "b": {"alias": "a"}}})",
         "Sprite sheet animation \"a\" is an alias in a cycle (a -> b -> a)."},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}}, "animations": {"a": {"alias": "nowhere"}}})",
         "Sprite sheet animation \"a\" is an alias of \"nowhere\", which the sheet does not have."},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}}, "animations": {"a": {"frames": ["ok"],
            "mode": "sideways"}}})",
         "Sprite sheet animation \"a\" has the mode \"sideways\""},
        {R"({"frames": {"ok": {"x": 0, "y": 0, "w": 8, "h": 8}}, "animations": {"a": {"frames": ["ok"],
            "events": {"7": "bang"}}}})",
         "Sprite sheet animation \"a\" has an event at \"7\""},
        {R"({"pictures": []})", "A sprite sheet needs either a \"grid\" or a \"frames\" object."},
    };
    for (const auto& [json, expected] : cases) {
        ErrorCapture errors;
        const SpriteSheet sheet = Describe(json);
        // A cycle of two aliases breaks both of them: two reports.
        ASSERT_EQ(errors.messages.size(), expected.find("cycle") == std::string::npos ? 1u : 2u) << json;
        const std::string& first = errors.messages.front();
        EXPECT_NE(first.find("mgDataError: " + expected), std::string::npos) << first;
        EXPECT_NE(first.find("File: \"hero.json\""), std::string::npos) << first;
        if (json.find("\"ok\"") != std::string::npos) {
            EXPECT_TRUE(sheet.FindFrameIndex("ok").has_value()) << json;
        }
    }
}

TEST_F(SpriteSheetTest, SheetFilesFindTheirImageBesideThemAndRefuseWhatIsNotASheet)
{
    const QuorvaneTest::ScratchFolder folder;
    const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(4, 2, QuorvaneTest::Bytes(4 * 2 * 4, 255));
    folder.Write("tiles.png", png);
    const auto text = [](const std::string& json) { return QuorvaneTest::Bytes(json.begin(), json.end()); };
    const std::string good = folder.Write(
        "tiles.json", text(R"({"image": "tiles.png", "grid": {"frameWidth": 2, "frameHeight": 2}})"));
    const std::string array = folder.Write("array.json", text("[1, 2, 3]"));
    const std::string broken = folder.Write("broken.json", text("{\"image\": "));
    {
        ErrorCapture errors;
        const SpriteSheet sheet = SpriteSheet::LoadFromFile(good);
        EXPECT_FALSE(errors.Fired());
        EXPECT_EQ(sheet.GetFrameCount(), 2u);
        EXPECT_FLOAT_EQ(GetAtlasFrame(good, "1").u, 0.5f);
    }
    for (const std::string& path : {array, broken}) {
        ErrorCapture errors;
        EXPECT_TRUE(SpriteSheet::LoadFromFile(path).IsEmpty());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_NE(errors.Last().find("is not a sprite sheet"), std::string::npos) << errors.Last();
        EXPECT_NE(errors.Last().find(path), std::string::npos) << errors.Last();
    }
    ErrorCapture errors;
    EXPECT_EQ(GetAtlasFrame(good, "nine").texture, InvalidTexture);
    EXPECT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(FindSpriteSheet(broken), nullptr);
    EXPECT_EQ(FindSpriteSheet(broken), nullptr);
    EXPECT_EQ(errors.messages.size(), 2u) << "a broken atlas is reported once, not on every look-up";
}

} // namespace
