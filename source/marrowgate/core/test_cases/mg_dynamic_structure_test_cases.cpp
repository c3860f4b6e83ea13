// The framework's test case for DynamicStructure, registered under the name "ErrorHandlerTest".
// It turns the error facility's throw switch on (for the rest of the process) so that its
// checks of misuse see each report as an exception carrying the report's text.

#include "marrowgate/core/mg_dynamic_structure.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_unit_test.h"

#include <cstdint>
#include <string>

using namespace Marrowgate::Core;

namespace {

class DynamicStructureTest final : public UnitTest::TestCaseInterface
{
public:
    DynamicStructureTest() : TestCaseInterface("ErrorHandlerTest") {}

    bool Run() override
    {
        Error::EnableThrowingErrors();
        CheckNilValue();
        CheckArrays();
        CheckConversions();
        CheckMisuseIsReported();
        return HasPassed();
    }

private:
    void CheckNilValue()
    {
        const DynamicStructure value;
        FailIf(!value.IsNil() || value.IsInteger() || value.IsFloat() || value.IsBoolean() ||
                   value.IsString() || value.IsArray() || value.IsStructure(),
               "a fresh value is nil and nothing else");
        FailIf(value.AsInteger(true) != 0 || value.AsBoolean(true) || !value.AsString(true).empty(),
               "nil converts to 0, false and the empty string");
        CheckEqual(value.AsFloat(true), 0.0f, "nil converts to 0.0");
        FailIf(!(value == NullValue), "a fresh value equals NullValue");
        FailIf(&value.GetMember("anything") != &NullValue, "a nil value has no members");
    }

    void CheckArrays()
    {
        DynamicStructure array;
        array.PushValue(42);
        FailIf(!array.IsArray() || array.size() != 1, "the first push makes an array of one");
        array.PushValue(43);
        array.PushValue(44);
        FailIf(array.size() != 3, "three pushes make three elements");
        CheckEqual(array[0].AsFloat(true), 42.0f, "element 0 reads as 42.0");

        DynamicStructure structure;
        structure.AddMember("present", 1);
        FailIf(&structure.GetMember("absent") != &NullValue || structure.size() != 1,
               "an absent member is NullValue and nothing is inserted");
    }

    void CheckConversions()
    {
        DynamicStructure value;
        value.SetValue(true, true);
        FailIf(!value.IsBoolean() || !value.AsBoolean(true), "setting true on nil gives a true boolean");
        const std::int64_t wide = std::int64_t{5} << 40;
        value.SetValue(wide, true);
        FailIf(value.AsInteger(true) != wide, "a 64-bit integer survives beyond 32 bits");
        FailIf(value.size() != 0, "a number has size 0");

        value.SetValue(0.000009f, true);
        FailIf(value.AsBoolean(true), "0.000009 reads as false");
        value.SetValue(0.00001f, true);
        FailIf(!value.AsBoolean(true), "0.00001 reads as true");
        value.SetValue(-0.00001f, true);
        FailIf(!value.AsBoolean(true), "-0.00001 reads as true");

        for (const char* text : {"1", "true"}) {
            value.SetValue(text, true);
            FailIf(!value.AsBoolean(true), "the string %s reads as true", text);
        }
        for (const char* text : {"True", "yes", "0"}) {
            value.SetValue(text, true);
            FailIf(value.AsBoolean(true), "the string %s reads as false", text);
        }

        DynamicStructure one;
        one.SetValue(1.0f, true);
        DynamicStructure close;
        close.SetValue(1.000009f, true);
        DynamicStructure far;
        far.SetValue(1.00002f, true);
        FailIf(!(one == close) || one == far, "floats are equal within 0.00001");
        FailIf(DynamicStructure(1) == one, "an integer never equals a float");
    }

    // Runs `operation`, which must report `message`.
    template <typename Operation> void ExpectReport(Operation operation, const std::string& message)
    {
        try {
            operation();
            ReportFailure("no report, expected: %s", message.c_str());
        } catch (const mgImplementation::ExceptionalErrorHandler::ErroredException& exception) {
            FailIf(exception.what() != message, "reported \"%s\", expected \"%s\"", exception.what(),
                   message.c_str());
        }
    }

    void CheckMisuseIsReported()
    {
        DynamicStructure integer(7);
        ExpectReport([&] { (void)integer.AsString(false); },
                     "This is not an StringType, type-safety required without implicit conversion.\n");
        ExpectReport([&] { integer.SetValue(std::string("text"), false); },
                     "Expected NilType or StringType types in order to set a string value.\n");
        ExpectReport([&] { integer.PushValue(1); },
                     "mgExternalError: Expected this DynamicStructure to be NilType or ArrayType.");
        ExpectReport([&] { (void)integer[0]; },
                     "mgExternalError: Expected this DynamicStructure to be an ArrayType.\n");

        DynamicStructure array;
        array.PushValue(1);
        ExpectReport([&] { (void)array[1]; },
                     "mgExternalError: Expected index to be in bounds of array size.\n");
        ExpectReport([&] { array.PushValue(DynamicStructure()); },
                     "Cannot push a Nil value into an array.\n");
        ExpectReport([&] { (void)array.AsInteger(true); }, "Cannot convert this type(5) to an integer.\n");
        const DynamicStructure arrayCopy = array;
        ExpectReport([&] { (void)(array == arrayCopy); }, "Cannot test equality for this type(5).\n");

        DynamicStructure structure;
        structure.AddMember("a", 1);
        ExpectReport([&] { structure.AddMember("a", 2); },
                     "mgExternalError: Expected not to find a member with name \"a\" already existing.");
        FailIf(structure.GetMember("a").AsInteger(true) != 1, "a duplicate member keeps the first one");
        ExpectReport([&] { (void)integer.GetMember("a"); },
                     "Expected this DynamicStructure to be an StructureType or a NilType.\n");
    }
};

DynamicStructureTest theDynamicStructureTest;

} // namespace
