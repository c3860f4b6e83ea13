#include "json_test_support.h"

#include <cstdio>

namespace QuorvaneTest {

using Marrowgate::Core::DynamicStructure;
using Marrowgate::Core::JsonValue;

namespace {

void AppendQuoted(std::string& out, const std::string& text)
{
    out += '"';
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\' || byte < 0x20 || byte >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += character;
        }
    }
    out += '"';
}

void AppendDescription(std::string& out, const DynamicStructure& value)
{
    switch (value.GetValueType()) {
    case DynamicStructure::NilType:
        out += "nil";
        return;
    case DynamicStructure::IntegerType:
        out += std::to_string(value.AsInteger(false));
        return;
    case DynamicStructure::FloatType: {
        char number[32];
        std::snprintf(number, sizeof number, "%.9gf", static_cast<double>(value.AsFloat(false)));
        out += number;
        return;
    }
    case DynamicStructure::BooleanType:
        out += value.AsBoolean(false) ? "true" : "false";
        return;
    case DynamicStructure::StringType:
        AppendQuoted(out, value.AsString(false));
        return;
    case DynamicStructure::ArrayType:
        out += '[';
        for (std::size_t index = 0; index < value.size(); ++index) {
            out += index == 0 ? "" : ",";
            AppendDescription(out, value[index]);
        }
        out += ']';
        return;
    case DynamicStructure::StructureType: {
        out += '{';
        bool first = true;
        for (const std::string& name : value.GetMemberNames()) {
            out += first ? "" : ",";
            first = false;
            out += name + ":";
            AppendDescription(out, value.GetMember(name.c_str()));
        }
        out += '}';
        return;
    }
    }
}

} // namespace

std::string Describe(const DynamicStructure& value)
{
    std::string out;
    AppendDescription(out, value);
    return out;
}

DynamicStructure ConvertJsonValue(const JsonValue& value)
{
    DynamicStructure result;
    switch (value.GetValueType()) {
    case JsonValue::NilVal:
        break;
    case JsonValue::StringVal:
        result.SetValue(value.GetString(), true);
        break;
    case JsonValue::IntegerVal:
        result.SetValue(value.GetInteger(), true);
        break;
    case JsonValue::Float32Val:
    case JsonValue::Float64Val:
        result.SetValue(value.GetFloat32(), true);
        break;
    case JsonValue::BoolVal:
        result.SetValue(value.GetBool(), true);
        break;
    case JsonValue::ObjectVal:
        for (const auto& [name, member] : value.GetObject()) {
            result.AddMember(name, ConvertJsonValue(member));
        }
        break;
    case JsonValue::ArrayVal:
        for (const JsonValue& element : value.GetArray()) {
            result.PushValue(ConvertJsonValue(element));
        }
        break;
    }
    return result;
}

} // namespace QuorvaneTest
