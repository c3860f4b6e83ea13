#include "marrowgate/core/mg_dynamic_structure.h"
#include "marrowgate/core/mg_json_parser.h"

#include "json_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Marrowgate::Core::DynamicStructure;
using Marrowgate::Core::NullValue;
using QuorvaneTest::Describe;
using QuorvaneTest::ErrorCapture;

DynamicStructure Float(float value)
{
    DynamicStructure result;
    result.SetValue(value, false);
    return result;
}

DynamicStructure Text(const std::string& value)
{
    DynamicStructure result;
    result.SetValue(value, false);
    return result;
}

DynamicStructure Boolean(bool value)
{
    DynamicStructure result;
    result.SetValue(value, false);
    return result;
}

TEST(DynamicStructure, AFreshValueIsNilAndConvertsToEmptyValues)
{
    ErrorCapture errors;
    const DynamicStructure value;
    EXPECT_TRUE(value.IsNil());
    EXPECT_FALSE(value.IsInteger() || value.IsFloat() || value.IsBoolean() || value.IsString() ||
                 value.IsArray() || value.IsStructure());
    EXPECT_EQ(value.AsInteger(true), 0);
    EXPECT_EQ(value.AsFloat(true), 0.0f);
    EXPECT_FALSE(value.AsBoolean(true));
    EXPECT_EQ(value.AsString(true), "");
    EXPECT_TRUE(value == NullValue);
    EXPECT_EQ(value.size(), 0u);
    EXPECT_FALSE(errors.Fired());
}

TEST(DynamicStructure, ConvertsBetweenScalarTypes)
{
    ErrorCapture errors;
    EXPECT_EQ(DynamicStructure(-42).AsFloat(true), -42.0f);
    EXPECT_EQ(DynamicStructure(-42).AsString(true), "-42");
    EXPECT_TRUE(DynamicStructure(-1).AsBoolean(true));
    EXPECT_FALSE(DynamicStructure(0).AsBoolean(true));

    EXPECT_EQ(Float(2.9f).AsInteger(true), 2);
    EXPECT_EQ(Float(-2.9f).AsInteger(true), -2);
    EXPECT_EQ(Float(0.5f).AsString(true), "0.5");
    EXPECT_EQ(Float(42.0f).AsString(true), "42");
    EXPECT_EQ(Float(0.0000001f).AsString(true), "1e-07");
    EXPECT_EQ(Float(1234567.0f).AsString(true), "1.23457e+06");

    EXPECT_EQ(Boolean(true).AsInteger(true), 1);
    EXPECT_EQ(Boolean(true).AsFloat(true), 1.0f);
    EXPECT_EQ(Boolean(false).AsString(true), "false");

    EXPECT_EQ(Text(" 12abc").AsInteger(true), 12);
    EXPECT_EQ(Text("-2.5e1x").AsFloat(true), -25.0f);
    EXPECT_EQ(Text("abc").AsInteger(true), 0);
    EXPECT_FALSE(errors.Fired());
}

TEST(DynamicStructure, FloatsNearZeroReadAsFalse)
{
    EXPECT_FALSE(Float(0.000009f).AsBoolean(true));
    EXPECT_FALSE(Float(-0.000009f).AsBoolean(true));
    EXPECT_TRUE(Float(0.00001f).AsBoolean(true));
    EXPECT_TRUE(Float(-0.00001f).AsBoolean(true));
    EXPECT_TRUE(Float(std::nanf("")).AsBoolean(true));
}

TEST(DynamicStructure, OnlyOneAndTrueAreTrueStrings)
{
    EXPECT_TRUE(Text("1").AsBoolean(true));
    EXPECT_TRUE(Text("true").AsBoolean(true));
    for (const char* text : {"True", "yes", "0", " 1", "true ", ""}) {
        EXPECT_FALSE(Text(text).AsBoolean(true)) << text;
    }
}

TEST(DynamicStructure, FloatsBeyondTheIntegerRangeSaturate)
{
    constexpr auto maximum = std::numeric_limits<std::int64_t>::max();
    constexpr auto minimum = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(Float(1e30f).AsInteger(true), maximum);
    EXPECT_EQ(Float(-1e30f).AsInteger(true), minimum);
    EXPECT_EQ(Float(std::numeric_limits<float>::infinity()).AsInteger(true), maximum);
    EXPECT_EQ(Float(9.2233720e18f).AsInteger(true), maximum);
    EXPECT_EQ(Float(-9.2233720e18f).AsInteger(true), minimum);
    EXPECT_EQ(Float(std::nanf("")).AsInteger(true), 0);
}

TEST(DynamicStructure, StrictReadsReportButStillConvert)
{
    ErrorCapture errors;
    EXPECT_EQ(Text("7").AsInteger(false), 7);
    EXPECT_EQ(errors.Last(),
              "This is not an IntegerType, type-safety required without implicit conversion.\n");
    EXPECT_EQ(DynamicStructure(3).AsFloat(false), 3.0f);
    EXPECT_EQ(errors.Last(), "This is not an FloatType, type-safety required without implicit conversion.\n");
    EXPECT_TRUE(DynamicStructure(3).AsBoolean(false));
    EXPECT_EQ(errors.Last(),
              "This is not an BooleanType, type-safety required without implicit conversion.\n");
    EXPECT_EQ(DynamicStructure(3).AsString(false), "3");
    EXPECT_EQ(errors.Last(),
              "This is not an StringType, type-safety required without implicit conversion.\n");
    EXPECT_EQ(errors.messages.size(), 4u);
}

TEST(DynamicStructure, ContainersCannotBeConverted)
{
    ErrorCapture errors;
    DynamicStructure array;
    array.PushValue(1);
    DynamicStructure structure;
    structure.AddMember("a", 1);

    EXPECT_EQ(array.AsInteger(true), 0);
    EXPECT_EQ(errors.Last(), "Cannot convert this type(5) to an integer.\n");
    EXPECT_EQ(structure.AsFloat(true), 0.0f);
    EXPECT_EQ(errors.Last(), "Cannot convert this type(6) to a float.\n");
    EXPECT_FALSE(array.AsBoolean(true));
    EXPECT_EQ(errors.Last(), "Cannot convert this type(5) to a boolean.\n");
    EXPECT_EQ(structure.AsString(true), "");
    EXPECT_EQ(errors.Last(), "Cannot convert this type(6) to a string.\n");
}

TEST(DynamicStructure, ReadsWithDefaultsForOptionalData)
{
    ErrorCapture errors;
    EXPECT_EQ(NullValue.AsFloatWithDefault(0.5f, true), 0.5f);
    EXPECT_EQ(Text("2").AsFloatWithDefault(0.5f, false), 0.5f);
    EXPECT_EQ(Text("2").AsFloatWithDefault(0.5f, true), 2.0f);
    EXPECT_EQ(Float(3.0f).AsFloatWithDefault(0.5f, false), 3.0f);
    EXPECT_TRUE(NullValue.AsBooleanWithDefault(true, false));
    EXPECT_TRUE(Text("true").AsBooleanWithDefault(false, true));
    EXPECT_FALSE(DynamicStructure(1).AsBooleanWithDefault(false, false));
    EXPECT_TRUE(DynamicStructure(1).AsBooleanWithDefault(false, true));
    EXPECT_FALSE(errors.Fired());
}

TEST(DynamicStructure, SettersReportATypeChangeAndStillStore)
{
    ErrorCapture errors;
    DynamicStructure value(5);
    value.SetValue(std::string("text"), false);
    EXPECT_EQ(errors.Last(), "Expected NilType or StringType types in order to set a string value.\n");
    EXPECT_EQ(value.AsString(false), "text");

    value.SetValue(1.5f, false);
    EXPECT_EQ(errors.Last(), "Expected NilType or FloatType types in order to set a float value.\n");
    value.SetValue(true, false);
    EXPECT_EQ(errors.Last(), "Expected NilType or BooleanType types in order to set a booelean value.\n");
    value.SetValue(std::int64_t{1}, false);
    EXPECT_EQ(errors.Last(), "Expected NilType or IntegerType types in order to set a integer value.\n");
    EXPECT_EQ(errors.messages.size(), 4u);

    value.SetValue("literal", true);
    EXPECT_TRUE(value.IsString());
    value.SetValue(std::int64_t{1} << 40, true);
    EXPECT_EQ(value.AsInteger(true), std::int64_t{1} << 40);
    value.SetValue(-3, false);
    EXPECT_EQ(value.AsInteger(false), -3);
    EXPECT_EQ(errors.messages.size(), 4u);
}

TEST(DynamicStructure, PushingMakesAnArray)
{
    ErrorCapture errors;
    DynamicStructure array;
    array.PushValue(42);
    EXPECT_TRUE(array.IsArray());
    EXPECT_EQ(array.size(), 1u);
    array.PushValue(43).SetValue(99, true);
    array.PushValue(44);
    EXPECT_EQ(Describe(array), "[42,99,44]");
    EXPECT_EQ(array[0].AsFloat(true), 42.0f);
    EXPECT_FALSE(errors.Fired());

    array.PushValue(DynamicStructure());
    EXPECT_EQ(errors.Last(), "Cannot push a Nil value into an array.\n");
    EXPECT_EQ(Describe(array), "[42,99,44,nil]");
}

TEST(DynamicStructure, MisusedArrayOperationsTouchNothingElse)
{
    ErrorCapture errors;
    DynamicStructure array;
    array.PushValue(1);
    DynamicStructure number(7);
    const DynamicStructure& constant = array;

    EXPECT_TRUE(&constant[1] == &NullValue);
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected index to be in bounds of array size.\n");
    array[5].SetValue(9, true);
    EXPECT_EQ(Describe(array), "[1]");

    number[0].SetValue(9, true);
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected this DynamicStructure to be an ArrayType.\n");
    number.PushValue(2).SetValue(3, true);
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected this DynamicStructure to be NilType or ArrayType.");
    EXPECT_EQ(Describe(number), "7");
    EXPECT_TRUE(NullValue.IsNil());
}

TEST(DynamicStructure, MembersAreKeptInNameOrder)
{
    ErrorCapture errors;
    DynamicStructure structure;
    structure.AddMember("b", 2);
    structure.AddMember("a", Text("x"));
    structure.AddMember("B", Boolean(true));
    EXPECT_EQ(Describe(structure), R"({B:true,a:"x",b:2})");
    EXPECT_EQ(structure.size(), 3u);
    EXPECT_FALSE(errors.Fired());

    EXPECT_EQ(structure.AddMember("a", 5).AsString(false), "x");
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Expected not to find a member with name \"a\" already existing.");
    EXPECT_EQ(Describe(structure.GetMember("a")), R"("x")");
}

// Readers keep references to members while they fill in others; a member must not move when
// one that sorts before it is added (AddressSanitizer reports the read otherwise).
TEST(DynamicStructure, MemberReferencesStayValidWhileOtherMembersAreAdded)
{
    ErrorCapture errors;
    DynamicStructure structure;
    DynamicStructure& zeta = structure.AddMember("zeta", 1);
    structure.AddMember("alpha", 2);
    EXPECT_EQ(zeta.AsInteger(false), 1);

    const DynamicStructure& found = structure.GetMember("zeta");
    for (int index = 0; index < 100; ++index) {
        structure.AddMember("m" + std::to_string(index), DynamicStructure(index));
    }
    EXPECT_EQ(&found, &zeta);
    zeta.SetValue("changed", true);
    EXPECT_EQ(Describe(structure.GetMember("zeta")), R"("changed")");
    EXPECT_EQ(structure.GetMemberNames().front(), "alpha");
    EXPECT_EQ(structure.GetMemberNames().back(), "zeta");
    EXPECT_FALSE(errors.Fired());
}

// A parsed structure has no room to spare and a hand-built one little, so additions in and out
// of name order move the structure onto further blocks; no member may move with them, and a
// copy of the grown structure is whole and independent.
TEST(DynamicStructure, MembersStayInPlaceWhenAStructureOutgrowsItsFirstBlock)
{
    ErrorCapture errors;
    DynamicStructure parsed = Marrowgate::Core::ParseJson(R"({"m10": 10, "m30": 30})");
    std::vector<std::pair<std::string, const DynamicStructure*>> held = {{"m10", &parsed.GetMember("m10")},
                                                                         {"m30", &parsed.GetMember("m30")}};
    for (int index : {40, 20, 0, 50, 5, 45, 35, 25, 15, 60, 55, 65, 70, 75, 80, 85, 90, 95}) {
        const std::string name = "m" + std::to_string(index);
        held.emplace_back(name, &parsed.AddMember(name, DynamicStructure(index)));
    }
    for (const auto& [name, member] : held) {
        EXPECT_EQ(&parsed.GetMember(name.c_str()), member) << name;
        EXPECT_EQ(member->AsInteger(false), std::stoi(name.substr(1))) << name;
    }
    const std::vector<std::string> names = parsed.GetMemberNames();
    EXPECT_EQ(names.size(), held.size());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    DynamicStructure copy = parsed;
    copy.AddMember("m01", 1);
    EXPECT_EQ(copy.GetMemberNames().size(), held.size() + 1);
    EXPECT_EQ(Describe(copy.GetMember("m95")), "95");
    EXPECT_TRUE(parsed.GetMember("m01").IsNil());
    EXPECT_FALSE(errors.Fired());

    EXPECT_EQ(parsed.AddMember("m25", 0).AsInteger(false), 25);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Expected not to find a member with name \"m25\" already existing.");
}

TEST(DynamicStructure, AbsentMembersAreNullValue)
{
    ErrorCapture errors;
    DynamicStructure structure;
    structure.AddMember("a", 1);
    EXPECT_TRUE(&structure.GetMember("missing") == &NullValue);
    EXPECT_TRUE(&NullValue.GetMember("a") == &NullValue);
    EXPECT_TRUE(&structure.GetMember(nullptr) == &NullValue);
    EXPECT_EQ(structure.size(), 1u);
    EXPECT_FALSE(errors.Fired());

    EXPECT_TRUE(&DynamicStructure(3).GetMember("a") == &NullValue);
    EXPECT_EQ(errors.Last(), "Expected this DynamicStructure to be an StructureType or a NilType.\n");
    DynamicStructure number(3);
    number.AddMember("a", 1).SetValue(2, true);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Expected this DynamicStructure to be NilType or StructureType.");
    EXPECT_EQ(Describe(number), "3");
}

TEST(DynamicStructure, ComparesScalarsOnly)
{
    ErrorCapture errors;
    EXPECT_TRUE(Float(1.0f) == Float(1.000009f));
    EXPECT_FALSE(Float(1.0f) == Float(1.00002f));
    EXPECT_FALSE(DynamicStructure(1) == Float(1.0f));
    EXPECT_TRUE(Text("a") == Text("a"));
    EXPECT_FALSE(Text("a") == Text("A"));
    EXPECT_TRUE(Boolean(false) == Boolean(false));
    EXPECT_FALSE(errors.Fired());

    DynamicStructure array;
    array.PushValue(1);
    const DynamicStructure copy = array;
    EXPECT_FALSE(array == copy);
    EXPECT_EQ(errors.Last(), "Cannot test equality for this type(5).\n");
}

TEST(DynamicStructure, CopiesAreDeep)
{
    DynamicStructure original;
    original.AddMember("list", DynamicStructure()).PushValue(Text("first"));
    DynamicStructure copy = original;
    const DynamicStructure& sameValue = copy;
    copy = sameValue;
    DynamicStructure assigned;
    assigned = original;

    original.AddMember("other", 1);
    EXPECT_EQ(Describe(copy), R"({list:["first"]})");
    EXPECT_EQ(Describe(assigned), R"({list:["first"]})");

    // Assigning a value from inside itself must not read the released payload.
    copy = copy.GetMember("list");
    EXPECT_EQ(Describe(copy), R"(["first"])");
    copy = std::move(copy[0]);
    EXPECT_EQ(Describe(copy), R"("first")");

    DynamicStructure moved = std::move(assigned);
    EXPECT_TRUE(assigned.IsNil());
    EXPECT_EQ(Describe(moved), R"({list:["first"]})");
}

} // namespace
