#include "marrowgate/application/mg_key_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace Marrowgate::Application;

TEST(KeyNames, EveryCodeHasItsOwnNameThatLeadsBackToIt)
{
    std::set<std::string_view> seen;
    for (int code = 0; code < kInputCount; ++code) {
        const Key key = static_cast<Key>(code);
        const std::string_view name = GetKeyName(key);
        EXPECT_NE(name, "Unknown") << code;
        EXPECT_TRUE(seen.insert(name).second) << name << " names two codes";
        EXPECT_EQ(FindKeyByName(name), key) << name;
    }
}

// Stored bindings hold numbers: the first sixty must keep theirs.
TEST(KeyNames, TheOriginalKeysAndTheControllerInputsKeepTheirNumbers)
{
    const std::pair<Key, int> fixed[] = {
        {Key0, 0},
        {Key9, 9},
        {KeyA, 10},
        {KeyZ, 35},
        {KeySpace, 36},
        {KeyEscape, 37},
        {KeyEnter, 38},
        {KeyUp, 39},
        {KeyDown, 40},
        {KeyLeft, 41},
        {KeyRight, 42},
        {MouseLeft, 43},
        {MouseRight, 44},
        {MouseMiddle, 45},
        {ControllerSouth, 46},
        {ControllerBack, 50},
        {ControllerStart, 51},
        {ControllerDPadUp, 52},
        {ControllerStickUp, 56},
        {ControllerStickRight, 59},
    };
    for (const auto& [key, number] : fixed) {
        EXPECT_EQ(static_cast<int>(key), number) << GetKeyName(key);
    }
    EXPECT_EQ(kKeyCount, 46);
    EXPECT_EQ(kFirstExtendedKey, 60);
    EXPECT_EQ(KeyF1, kFirstExtendedKey);
    EXPECT_EQ(MouseWheelRight, kInputCount - 1);
    for (int code = 0; code < kInputCount; ++code) {
        EXPECT_EQ(IsControllerInput(static_cast<Key>(code)), code >= 46 && code < 60) << code;
    }
}

TEST(KeyNames, NamesReadAsAMenuWouldShowThem)
{
    EXPECT_EQ(GetKeyName(KeyA), "A");
    EXPECT_EQ(GetKeyName(Key7), "7");
    EXPECT_EQ(GetKeyName(MouseLeft), "Left Mouse Button");
    EXPECT_EQ(GetKeyName(ControllerDPadLeft), "Controller D-Pad Left");
    EXPECT_EQ(GetKeyName(KeyF10), "F10");
    EXPECT_EQ(GetKeyName(KeyRightAlt), "Right Alt");
    EXPECT_EQ(GetKeyName(KeyPageUp), "Page Up");
    EXPECT_EQ(GetKeyName(KeySemicolon), "Semicolon");
    EXPECT_EQ(GetKeyName(Keypad7), "Keypad 7");
    EXPECT_EQ(GetKeyName(KeypadEnter), "Keypad Enter");
    EXPECT_EQ(GetKeyName(MouseWheelDown), "Mouse Wheel Down");
}

TEST(KeyNames, CodesAndNamesThatAreNoInputAreTurnedAway)
{
    EXPECT_EQ(GetKeyName(static_cast<Key>(-1)), "Unknown");
    EXPECT_EQ(GetKeyName(static_cast<Key>(kInputCount)), "Unknown");
    EXPECT_FALSE(FindKeyByName("Unknown").has_value());
    EXPECT_FALSE(FindKeyByName("left shift").has_value());
    EXPECT_FALSE(FindKeyByName("").has_value());
}

} // namespace
