// The framework's test case for JSON reading: the reader's acceptance rules that data files
// rely on. Reading never reports, so this case is unaffected by the throw switch.

#include "marrowgate/core/mg_json_parser.h"
#include "marrowgate/core/mg_unit_test.h"

#include <string>

using namespace Marrowgate::Core;

MG_TEST_CASE(JsonParserTest)
{
    FailIf(!ParseJson("null").IsNil() || !ParseJson("42").IsNil(), "a bare scalar document reads as nil");

    const DynamicStructure object = ParseJson(R"({"a": 1, "b": 2.5, "c": "x", "d": true})");
    FailIf(!object.IsStructure() || object.size() != 4,
           "an object of four members reads as a structure of four");
    FailIf(!object.GetMember("a").IsInteger() || object.GetMember("a").AsInteger(false) != 1,
           "a is the integer 1");
    CheckEqual(object.GetMember("b").AsFloat(false), 2.5f, "b is the float 2.5");
    FailIf(object.GetMember("c").AsString(false) != "x", "c is the string x");
    FailIf(!object.GetMember("d").AsBoolean(false), "d is true");

    const DynamicStructure tokens = ParseJson("[TRUE, Null, 3000000000]");
    FailIf(tokens.size() != 2 || !tokens[0].AsBoolean(false),
           "TRUE reads as true and Null as a dropped null");
    FailIf(tokens.size() == 2 && !tokens[1].IsFloat(),
           "3000000000 does not fit 32 bits and reads as a float");

    FailIf(!ParseJson(R"({"a": .5})").IsNil() || !ParseJson(R"({"a": 1e})").IsNil(),
           ".5 and 1e are malformed and make their object nil");
    FailIf(ParseJson("[1, null, 2]").size() != 2 || ParseJson("[1,,2]").size() != 2,
           "null and empty array elements are dropped");
    FailIf(!ParseJson("[]").IsNil() || !ParseJson("{}").IsNil(), "an empty array or object reads as nil");

    FailIf(!ParseJson(R"(["a,b"])").IsNil(),
           "a comma inside an array's string splits it and fails the array");
    FailIf(ParseJson(R"(["a[b"])")[0].AsString(false) != "a[b",
           "an open bracket inside an array's string is kept");
    FailIf(ParseJson(R"({"s": " padded "})").GetMember("s").AsString(false) != "padded",
           "strings are trimmed");
    FailIf(ParseJson(R"(["x\u0041y", "x\qy"])")[0].AsString(false) != "xAy", "\\u0041 is the byte A");
    FailIf(ParseJson(R"(["x\u0041y", "x\qy"])")[1].AsString(false) != "xy", "an unknown escape vanishes");

    FailIf(!ParseJson(R"({"a": 1,})").IsNil(), "a trailing comma makes the object nil");
    FailIf(ParseJson(R"({"a": "x" "b": 2})").size() != 2, "a missing comma after a string goes unnoticed");
    FailIf(!ParseJson(R"({"a": 1 "b": 2})").IsNil(), "a missing comma after a bare token fails the object");

    const DynamicStructure nested = ParseJson(R"({"a": {"b": tru}, "c": 1})");
    FailIf(!nested.GetMember("a").IsNil() || nested.GetMember("c").AsInteger(false) != 1,
           "a failed inner object is a nil member and the outer object goes on");

    FailIf(!ParseJson(std::string(100000, '[')).IsNil(), "an unclosed deep nesting reads as nil");
    return HasPassed();
}
