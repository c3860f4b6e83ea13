#pragma once
/// DynamicStructure: the self-describing value every data file is read into. One value holds
/// nothing (nil), a 64-bit integer, a float, a boolean, a string, an array of values or a
/// structure of named values (kept in byte-wise name order, names unique).
/// @file
/// Strict by default, forgiving on request: readers take `implicitConversion`, setters take
/// `implicitTypeChange`. Misuse is reported through the error facility; when the facility
/// returns, every operation carries on with a defined result (see each operation). Copies
/// are deep; nothing is shared or reference counted.
///
/// Depends on the error facility and the string conversions. One thread at a time per value.
/// Recursive operations (copy, destruction) recurse once per nesting level. A structure's
/// members never move once added (see mg_dynamic_structure_members.h): one read from JSON or
/// copied is a single block in name order, binary-searched; AddMember is cheap for names that
/// sort after the last member and otherwise shifts an index of pointers.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace mgImplementation {
class JsonDynamicStructureBuilder;
class DynamicStructureMembers;
// Destroys a structure's members and frees the one block they share.
struct DynamicStructureMembersDeleter
{
    void operator()(DynamicStructureMembers* members) const noexcept;
};
} // namespace mgImplementation

namespace Marrowgate::Core {

class DynamicStructure
{
public:
    // The numbers are printed by the "type(%d)" reports.
    enum ValueType : int
    {
        NilType = 0,
        IntegerType = 1,
        FloatType = 2,
        BooleanType = 3,
        StringType = 4,
        ArrayType = 5,
        StructureType = 6,
    };

    using Array = std::vector<DynamicStructure>;
    using Member = std::pair<std::string, DynamicStructure>;

    constexpr DynamicStructure() noexcept = default;
    DynamicStructure(std::int32_t value);
    DynamicStructure(std::int64_t value);
    DynamicStructure(const DynamicStructure& other);
    // The moved-from value is left nil.
    DynamicStructure(DynamicStructure&& other) noexcept;
    DynamicStructure& operator=(const DynamicStructure& other);
    DynamicStructure& operator=(DynamicStructure&& other) noexcept;
    ~DynamicStructure();

    ValueType GetValueType() const { return static_cast<ValueType>(mPayload.index()); }
    bool IsNil() const { return GetValueType() == NilType; }
    bool IsInteger() const { return GetValueType() == IntegerType; }
    bool IsFloat() const { return GetValueType() == FloatType; }
    bool IsBoolean() const { return GetValueType() == BooleanType; }
    bool IsString() const { return GetValueType() == StringType; }
    bool IsArray() const { return GetValueType() == ArrayType; }
    bool IsStructure() const { return GetValueType() == StructureType; }

    // A value of another type is reported unless `implicitConversion`; either way the
    // converted value is returned.
    std::int64_t AsInteger(bool implicitConversion) const;
    float AsFloat(bool implicitConversion) const;
    bool AsBoolean(bool implicitConversion) const;
    std::string AsString(bool implicitConversion) const;

    // For optional data: nil, or another type without `implicitConversion`, gives the default
    // silently.
    float AsFloatWithDefault(float defaultValue, bool implicitConversion) const;
    bool AsBooleanWithDefault(bool defaultValue, bool implicitConversion) const;

    // Replacing a value of another (non-nil) type is reported unless `implicitTypeChange`;
    // the new value is stored either way.
    void SetValue(std::int32_t value, bool implicitTypeChange);
    void SetValue(std::int64_t value, bool implicitTypeChange);
    void SetValue(float value, bool implicitTypeChange);
    void SetValue(bool value, bool implicitTypeChange);
    void SetValue(std::string value, bool implicitTypeChange);
    // Without this overload a string literal would pick the bool setter.
    void SetValue(const char* value, bool implicitTypeChange);

    // Appends a copy of `value` (a nil receiver becomes an array) and returns the stored copy.
    // A nil `value` is reported and still appended. A receiver that is neither nil nor an
    // array is reported and left unchanged; the result is then a scratch nil value.
    DynamicStructure& PushValue(DynamicStructure value);
    // Misuse (not an array, index out of range) is reported; the result is then NullValue
    // (read-only form) or a scratch nil value whose changes go nowhere (mutable form).
    const DynamicStructure& operator[](std::size_t index) const;
    DynamicStructure& operator[](std::size_t index);
    // Elements of an array, members of a structure, 0 for any other type.
    std::size_t size() const;

    // Adds a copy of `value` under `name` (a nil receiver becomes a structure) and returns the
    // stored member. References to members, from here or from GetMember, stay valid while other
    // members are added, until the structure itself is assigned, replaced or destroyed.
    // A name already present is reported and its member kept and returned; a receiver of another
    // type is reported and left unchanged (the result is scratch, as above).
    DynamicStructure& AddMember(const std::string& name, DynamicStructure value);
    // The member, or NullValue when there is none (a null name has none). A receiver that is
    // neither nil nor a structure is reported.
    const DynamicStructure& GetMember(const char* name) const;
    // Member names in byte-wise order; empty for anything but a structure.
    std::vector<std::string> GetMemberNames() const;

    // Same type and same value (floats within 0.00001). Arrays and structures are reported as
    // not comparable and compare unequal.
    bool operator==(const DynamicStructure& other) const;

private:
    friend class mgImplementation::JsonDynamicStructureBuilder;

    using Structure = mgImplementation::DynamicStructureMembers;
    using StructurePointer = std::unique_ptr<Structure, mgImplementation::DynamicStructureMembersDeleter>;

    // A string's length and bytes in one heap block: the payload stays one pointer wide and a
    // string costs one allocation, whatever its length.
    class Text
    {
    public:
        explicit Text(std::string_view bytes);
        Text(const Text& other) : Text(other.View()) {}
        Text(Text&& other) noexcept = default;
        Text& operator=(Text&& other) noexcept = default;
        ~Text() = default;

        std::string_view View() const;

    private:
        std::unique_ptr<char[]> mBlock;
    };

    // The alternatives are in ValueType order, so the variant's index is the value type.
    using Payload = std::variant<std::monostate, std::int64_t, float, bool, Text, std::unique_ptr<Array>,
                                 StructurePointer>;

    explicit DynamicStructure(Payload payload) noexcept;

    std::int64_t ConvertToInteger() const;
    float ConvertToFloat() const;
    bool ConvertToBoolean() const;
    std::string ConvertToString() const;
    // Reports a setter that changes the type without permission.
    void CheckTypeChange(ValueType newType, bool implicitTypeChange, const char* message) const;

    Payload mPayload;
};

// The shared nil value that failed look-ups return. Never modified.
extern const DynamicStructure NullValue;

} // namespace Marrowgate::Core
