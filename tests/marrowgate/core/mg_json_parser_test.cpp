#include "marrowgate/core/mg_json_parser.h"

#include "json_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

using Marrowgate::Core::DynamicStructure;
using Marrowgate::Core::JsonValue;
using Marrowgate::Core::LoadJsonFile;
using Marrowgate::Core::ParseJson;
using Marrowgate::Core::ParseJsonText;
using QuorvaneTest::Describe;

struct Case
{
    const char* text;
    const char* expected;
};

// Parses every text and compares the whole tree; also checks that the direct reader agrees
// with converting the JsonValue tree, and that reading valid or invalid text never reports.
void ExpectParses(const std::vector<Case>& cases)
{
    for (const Case& testCase : cases) {
        QuorvaneTest::ErrorCapture errors;
        const DynamicStructure direct = ParseJson(testCase.text);
        EXPECT_FALSE(errors.Fired()) << testCase.text;
        EXPECT_EQ(Describe(direct), testCase.expected) << testCase.text;
        EXPECT_EQ(Describe(QuorvaneTest::ConvertJsonValue(ParseJsonText(testCase.text))), Describe(direct))
            << testCase.text;
    }
}

TEST(JsonParser, TopLevelMustBeAnObjectOrAnArray)
{
    ExpectParses({
        {"null", "nil"},
        {"42", "nil"},
        {"\"text\"", "nil"},
        {"", "nil"},
        {"  \n ", "nil"},
        {"{", "nil"},
        {"[1", "nil"},
        {" \t[1]\n", "[1]"},
        {"{\"a\":1}", "{a:1}"},
    });
}

TEST(JsonParser, ReadsEachKindOfValue)
{
    ExpectParses({
        {R"({"a": 1, "b": 2.5, "c": "x", "d": true})", R"({a:1,b:2.5f,c:"x",d:true})"},
        {R"([false, -7, 1e3, 2.5E-1, "y"])", R"([false,-7,1000f,0.25f,"y"])"},
        {R"({"outer": {"inner": [1, {"deep": "z"}]}})", R"({outer:{inner:[1,{deep:"z"}]}})"},
        {R"({"b": 1, "a": 2, "c": 3})", "{a:2,b:1,c:3}"},
        {R"({"a": 1, "a": 2})", "{a:2}"},
    });
}

TEST(JsonParser, BareTokensIgnoreCaseAndWhiteSpace)
{
    ExpectParses({
        {"[TRUE, False, Null, nULL]", "[true,false]"},
        {"[t r u e, 1 2, - 3]", "[true,12,-3]"},
        {"[+5, 007]", "[5,7]"},
    });
}

TEST(JsonParser, IntegersBeyondThirtyTwoBitsBecomeFloats)
{
    ExpectParses({
        {"[2147483647, -2147483648]", "[2147483647,-2147483648]"},
        {"[3000000000]", "[3e+09f]"},
        {"[-2147483649]", "[-2.14748365e+09f]"},
        {"[99999999999999999999999]", "[9.99999978e+22f]"},
        {"[1e400]", "nil"},
        {"[1e39]", "[inff]"},
    });
}

TEST(JsonParser, MalformedBareTokensMakeTheirContainerNil)
{
    ExpectParses({
        {R"({"a": .5})", "nil"},
        {R"({"a": 1e})", "nil"},
        {R"({"a": 1e5e5})", "nil"},
        {R"({"a": 0x10})", "nil"},
        {R"({"a": nul})", "nil"},
        {R"({"a": -})", "nil"},
        {"[1, abc]", "nil"},
    });
}

TEST(JsonParser, NilArrayElementsAreDroppedAndNilMembersKept)
{
    ExpectParses({
        {"[1, null, 2]", "[1,2]"},
        {"[1,,2]", "[1,2]"},
        {"[1, 2,]", "[1,2]"},
        {"[]", "nil"},
        {"{}", "nil"},
        {R"({"a": null, "b": 1})", "{a:nil,b:1}"},
        {R"({"a": {"b": tru}, "c": 1})", "{a:nil,c:1}"},
        {R"([[1, x], 2])", "[2]"},
        // An empty array or object inside an array is not nil while reading, so it stays.
        {"[[], {}, 3]", "[nil,nil,3]"},
    });
}

TEST(JsonParser, ObjectSeparatorsAreLoose)
{
    ExpectParses({
        {R"({"a": 1,})", "nil"},
        {R"({"a": "x" "b": 2})", R"({a:"x",b:2})"},
        {R"({"a": [1] junk "b": 2})", "{a:[1],b:2}"},
        {R"({"a": 1 "b": 2})", "nil"},
        {R"({"a":})", "{a:nil}"},
        {R"({"a": , "b": 1})", "{a:0,b:1}"},
        {R"({"": 1})", "nil"},
        {R"({ })", "nil"},
        {R"({"a\"b": 1})", R"({a\"b:1})"},
    });
}

TEST(JsonParser, ArraysAreCutAtCommasAndBracketsEvenInsideStrings)
{
    ExpectParses({
        {R"(["a,b"])", "nil"},
        {R"(["a]b"])", "nil"},
        {R"(["a[b"])", R"(["a[b"])"},
        {R"(["a{b", "c"])", R"(["a{b","c"])"},
        {R"(["x" [1]])", R"(["x",[1]])"},
        {R"(["x" junk, 2])", R"(["x",2])"},
        {"[1, 2]]", "[1,2]"},
    });
}

TEST(JsonParser, StringsAreUnescapedThenTrimmed)
{
    ExpectParses({
        {R"([" padded "])", R"(["padded"])"},
        {R"(["x\u0041y"])", R"(["xAy"])"},
        {R"(["x\u1241y"])", R"(["xAy"])"},
        {R"(["x\qy"])", R"(["xy"])"},
        {R"(["\"\\\/\b\f\n\r\tz"])", R"(["\x22\x5c/\x08\x0c\x0a\x0d\x09z"])"},
        {R"(["\t x \u0020"])", R"(["x"])"},
        {R"(["\u0020\t"])", R"([""])"},
        {R"(["x\u00"])", R"(["x"])"},
        {R"(["x\u"])", R"(["x"])"},
        {R"(["x\uZZZZy"])", R"(["xZZZZy"])"},
        {R"(["\u00e9"])", R"(["\xe9"])"},
    });
}

TEST(JsonParser, NestingDeeperThanTheLimitFailsLikeAnyOtherError)
{
    const std::string fine = std::string(512, '[') + "1" + std::string(512, ']');
    EXPECT_EQ(Describe(ParseJson(fine)), std::string(512, '[') + "1" + std::string(512, ']'));

    // One level too deep: the innermost array that still fits fails and is dropped by its
    // parent, which is left empty.
    const std::string tooDeep = std::string(513, '[') + "1" + std::string(513, ']');
    EXPECT_EQ(Describe(ParseJson(tooDeep)), std::string(510, '[') + "nil" + std::string(510, ']'));

    const std::string unclosed(1'000'000, '[');
    EXPECT_TRUE(ParseJson(unclosed).IsNil());
    const std::string million = std::string(1'000'000, '[') + std::string(1'000'000, ']');
    EXPECT_FALSE(ParseJson(million).IsNil());
    const std::string objects = "{\"a\":" + std::string(1'000'000, '{') + std::string(1'000'000, '}') + "}";
    EXPECT_EQ(Describe(ParseJson(objects)), "{a:nil}");
}

TEST(JsonParser, BracketsAreMatchedOutsideStrings)
{
    ExpectParses({
        {R"([["]"], 1])", "[1]"},
        {R"({"a": {"b": "}"}, "c": 2})", R"({a:{b:"}"},c:2})"},
        {R"([[1}, 2])", "nil"},
        {R"([[1, 2])", "nil"},
        // The matcher only looks at the character before a quote, so \\" does not close a
        // string for it, while the string reader takes \\ as one escaped backslash.
        {R"([["a\\"], 1])", "nil"},
    });
}

TEST(JsonParser, ReadsTextWithZeroBytesAndHighBytes)
{
    EXPECT_EQ(Describe(ParseJson(std::string("[\"a\0b\", 1]", 10))), R"(["a\x00b",1])");
    EXPECT_TRUE(ParseJson(std::string("[1\0]", 4)).IsNil());
    ExpectParses({{"[\"\xff\xfe\"]", R"(["\xff\xfe"])"}});
}

// One heap block per member made reading slower and the tree larger: an object's members are
// read into one block, side by side in name order.
TEST(JsonParser, AnObjectsMembersShareOneBlock)
{
    const DynamicStructure object = ParseJson(R"({"c": 3, "a": {"x": 1}, "b": "two"})");
    const auto address = [&object](const char* name) {
        return reinterpret_cast<std::uintptr_t>(&object.GetMember(name));
    };
    EXPECT_EQ(address("b") - address("a"), sizeof(DynamicStructure::Member));
    EXPECT_EQ(address("c") - address("b"), sizeof(DynamicStructure::Member));
    EXPECT_EQ(Describe(object), R"({a:{x:1},b:"two",c:3})");
}

TEST(JsonValue, AccessorsThrowForAnotherKind)
{
    const JsonValue number(7);
    EXPECT_EQ(number.GetFloat64(), 7.0);
    EXPECT_EQ(JsonValue(2.9).GetInteger(), 2);
    EXPECT_EQ(JsonValue(-2.9).GetInteger(), -2);
    EXPECT_EQ(JsonValue(1e300).GetInteger(), 2147483647);
    EXPECT_EQ(JsonValue(1e300).GetFloat32(), std::numeric_limits<float>::infinity());
    const auto expectThrow = [](auto access, const char* message) {
        try {
            access();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    };
    expectThrow([&] { (void)number.GetString(); }, "json mValueType==StringVal required");
    expectThrow([&] { (void)number.GetBool(); }, "json mValueType==BoolVal required");
    expectThrow([&] { (void)number.GetObject(); }, "json mValueType==ObjectVal required");
    expectThrow([&] { (void)number.GetArray(); }, "json mValueType==ArrayVal required");
    expectThrow([] { (void)JsonValue("x").GetInteger(); }, "json mValueType==IsNumeric() required");
    expectThrow([] { (void)JsonValue().GetFloat32(); }, "json mValueType==IsNumeric() required");
}

TEST(JsonParser, ParseJsonTextKeepsTheReaderKinds)
{
    const JsonValue value = ParseJsonText(R"({"i": 3, "d": 3000000000, "e": [], "s": " s "})");
    ASSERT_EQ(value.GetValueType(), JsonValue::ObjectVal);
    const JsonValue::Object members = value.GetObject();
    EXPECT_EQ(members.at("i").GetValueType(), JsonValue::IntegerVal);
    EXPECT_EQ(members.at("d").GetValueType(), JsonValue::Float64Val);
    EXPECT_EQ(members.at("d").GetFloat64(), 3e9);
    EXPECT_EQ(members.at("e").GetValueType(), JsonValue::ArrayVal);
    EXPECT_EQ(members.at("s").GetString(), "s");
    EXPECT_EQ(ParseJsonText("[1, x]").GetValueType(), JsonValue::NilVal);
}

class LoadJsonFileTest : public ::testing::Test
{
protected:
    std::filesystem::path Write(const std::string& name, const std::string& contents)
    {
        const std::filesystem::path path = mFolder / name;
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    void SetUp() override { std::filesystem::create_directories(mFolder); }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    std::filesystem::path mFolder =
        std::filesystem::temp_directory_path() /
        ("quorvane_json_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
};

TEST_F(LoadJsonFileTest, ReadsAFileUpToItsFirstZeroByte)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(Describe(LoadJsonFile(Write("events.json", "{\n  \"a\": [1, 2]\n}\n"))), "{a:[1,2]}");
    EXPECT_EQ(Describe(LoadJsonFile(Write("zero.json", std::string("[1]\0garbage", 11)))), "[1]");
    EXPECT_TRUE(LoadJsonFile(Write("empty.json", "")).IsNil());
    EXPECT_FALSE(errors.Fired());
}

TEST_F(LoadJsonFileTest, ReportsFilesItCannotRead)
{
    QuorvaneTest::ErrorCapture errors;
    const std::string missing = (mFolder / "missing.json").string();
    EXPECT_TRUE(LoadJsonFile(missing).IsNil());
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_NE(errors.messages[0].find("File: \"" + missing + "\""), std::string::npos) << errors.messages[0];
    EXPECT_EQ(errors.Last(), "Was unable to load json file: " + missing + "\n");

    EXPECT_TRUE(LoadJsonFile(mFolder.string()).IsNil());
    EXPECT_EQ(errors.messages[2],
              "mgDataError: Expected a regular file, found a directory. File: \"" + mFolder.string() + "\"");
    EXPECT_EQ(errors.Last(), "Was unable to load json file: " + mFolder.string() + "\n");
}

} // namespace
