#pragma once
/// JsonValue: the JSON reader's own value type. It records which kind of value the text held
/// and keeps every number in all three widths (32-bit integer, float, double). Its accessors
/// check the kind and throw std::runtime_error when asked for another one; this is the one
/// place in the framework that throws in normal operation.
/// @file
/// Depends on the standard library only. Copies are deep.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Marrowgate::Core {

class JsonValue
{
public:
    enum ValueType : int
    {
        NilVal = 0,
        StringVal = 1,
        IntegerVal = 2,
        Float32Val = 3,
        Float64Val = 4,
        ObjectVal = 5,
        ArrayVal = 6,
        BoolVal = 7,
    };

    using Object = std::map<std::string, JsonValue>;
    using Array = std::vector<JsonValue>;

    JsonValue() = default;
    explicit JsonValue(std::string value);
    // Without this overload a string literal would pick the bool constructor.
    explicit JsonValue(const char* value);
    explicit JsonValue(std::int32_t value);
    explicit JsonValue(float value);
    // Numbers outside the 32-bit range keep their saturated limit in the integer field, and
    // values beyond the float range keep infinity in the float field.
    explicit JsonValue(double value);
    explicit JsonValue(bool value);
    explicit JsonValue(Object value);
    explicit JsonValue(Array value);

    ValueType GetValueType() const { return mValueType; }
    bool IsNumeric() const;

    const std::string& GetString() const;
    bool GetBool() const;
    Object GetObject() const;
    Array GetArray() const;
    // Any of the three numeric kinds answers all three.
    std::int32_t GetInteger() const;
    float GetFloat32() const;
    double GetFloat64() const;

private:
    ValueType mValueType = NilVal;
    std::int32_t mInteger = 0;
    float mFloat32 = 0.0f;
    double mFloat64 = 0.0;
    std::string mString;
    Object mObject;
    Array mArray;
    bool mBool = false;
};

} // namespace Marrowgate::Core
