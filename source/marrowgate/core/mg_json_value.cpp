#include "marrowgate/core/mg_json_value.h"

#include "marrowgate/core/mg_number_conversions.h"

#include <stdexcept>
#include <utility>

namespace Marrowgate::Core {

JsonValue::JsonValue(std::string value) : mValueType(StringVal), mString(std::move(value)) {}

JsonValue::JsonValue(const char* value) : JsonValue(std::string(value != nullptr ? value : "")) {}

JsonValue::JsonValue(std::int32_t value)
    : mValueType(IntegerVal), mInteger(value), mFloat32(static_cast<float>(value)), mFloat64(value)
{}

JsonValue::JsonValue(float value)
    : mValueType(Float32Val), mInteger(TruncateToInteger<std::int32_t>(value)), mFloat32(value),
      mFloat64(value)
{}

JsonValue::JsonValue(double value)
    : mValueType(Float64Val), mInteger(TruncateToInteger<std::int32_t>(value)),
      mFloat32(NarrowToFloat(value)), mFloat64(value)
{}

JsonValue::JsonValue(bool value) : mValueType(BoolVal), mBool(value) {}

JsonValue::JsonValue(Object value) : mValueType(ObjectVal), mObject(std::move(value)) {}

JsonValue::JsonValue(Array value) : mValueType(ArrayVal), mArray(std::move(value)) {}

bool JsonValue::IsNumeric() const
{
    return mValueType == IntegerVal || mValueType == Float32Val || mValueType == Float64Val;
}

const std::string& JsonValue::GetString() const
{
    if (mValueType != StringVal) {
        throw std::runtime_error("json mValueType==StringVal required");
    }
    return mString;
}

bool JsonValue::GetBool() const
{
    if (mValueType != BoolVal) {
        throw std::runtime_error("json mValueType==BoolVal required");
    }
    return mBool;
}

JsonValue::Object JsonValue::GetObject() const
{
    if (mValueType != ObjectVal) {
        throw std::runtime_error("json mValueType==ObjectVal required");
    }
    return mObject;
}

JsonValue::Array JsonValue::GetArray() const
{
    if (mValueType != ArrayVal) {
        throw std::runtime_error("json mValueType==ArrayVal required");
    }
    return mArray;
}

std::int32_t JsonValue::GetInteger() const
{
    if (!IsNumeric()) {
        throw std::runtime_error("json mValueType==IsNumeric() required");
    }
    return mInteger;
}

float JsonValue::GetFloat32() const
{
    if (!IsNumeric()) {
        throw std::runtime_error("json mValueType==IsNumeric() required");
    }
    return mFloat32;
}

double JsonValue::GetFloat64() const
{
    if (!IsNumeric()) {
        throw std::runtime_error("json mValueType==IsNumeric() required");
    }
    return mFloat64;
}

} // namespace Marrowgate::Core
