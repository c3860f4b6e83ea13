#include "marrowgate/core/mg_dynamic_structure.h"

#include "marrowgate/core/mg_dynamic_structure_members.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_number_conversions.h"
#include "marrowgate/core/mg_string_conversions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

namespace {
constexpr char kUnitName[] = "mg_dynamic_structure";

// Two floats closer than this are equal, and a float inside (-this, this) reads as false.
constexpr float kFloatTolerance = 0.00001f;

using Marrowgate::Core::DynamicStructure;

template <typename... Handlers> struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

// What misused mutable operations hand back once the facility has returned: a value outside
// every caller's data, so a write through it changes nothing that anyone reads.
DynamicStructure& ScratchValue()
{
    static DynamicStructure scratch;
    scratch = DynamicStructure();
    return scratch;
}

} // namespace

namespace Marrowgate::Core {

constinit const DynamicStructure NullValue;

DynamicStructure::Text::Text(std::string_view bytes) : mBlock(new char[sizeof(std::size_t) + bytes.size()])
{
    const std::size_t size = bytes.size();
    std::memcpy(mBlock.get(), &size, sizeof size);
    if (size != 0) {
        // An empty view may have no data at all, and memcpy must not be handed null.
        std::memcpy(mBlock.get() + sizeof size, bytes.data(), size);
    }
}

std::string_view DynamicStructure::Text::View() const
{
    std::size_t size = 0;
    std::memcpy(&size, mBlock.get(), sizeof size);
    return {mBlock.get() + sizeof size, size};
}

DynamicStructure::DynamicStructure(std::int32_t value) : mPayload(std::int64_t{value}) {}

DynamicStructure::DynamicStructure(std::int64_t value) : mPayload(value) {}

DynamicStructure::DynamicStructure(Payload payload) noexcept : mPayload(std::move(payload)) {}

DynamicStructure::DynamicStructure(const DynamicStructure& other)
    : mPayload(std::visit(
          Overloaded{
              [](const std::unique_ptr<Array>& array) -> Payload { return std::make_unique<Array>(*array); },
              [](const StructurePointer& structure) -> Payload { return Structure::Copy(*structure); },
              // Numbers, booleans and Text copy themselves (Text into a new block).
              [](const auto& value) -> Payload { return value; },
          },
          other.mPayload))
{}

DynamicStructure::DynamicStructure(DynamicStructure&& other) noexcept : mPayload(std::move(other.mPayload))
{
    other.mPayload.emplace<std::monostate>();
}

DynamicStructure& DynamicStructure::operator=(const DynamicStructure& other)
{
    // Copy first: `other` may be this value or live inside it, and must not be released
    // before it has been read.
    DynamicStructure copy(other);
    return *this = std::move(copy);
}

DynamicStructure& DynamicStructure::operator=(DynamicStructure&& other) noexcept
{
    if (this != &other) {
        // Take the payload out before the old one is released: `other` may live inside it.
        Payload taken = std::move(other.mPayload);
        other.mPayload.emplace<std::monostate>();
        mPayload = std::move(taken);
    }
    return *this;
}

DynamicStructure::~DynamicStructure() = default;

std::int64_t DynamicStructure::AsInteger(bool implicitConversion) const
{
    if (const auto* value = std::get_if<std::int64_t>(&mPayload)) {
        return *value;
    }
    MG_ERROR_IF(!implicitConversion,
                "This is not an IntegerType, type-safety required without implicit conversion.\n");
    return ConvertToInteger();
}

float DynamicStructure::AsFloat(bool implicitConversion) const
{
    if (const auto* value = std::get_if<float>(&mPayload)) {
        return *value;
    }
    MG_ERROR_IF(!implicitConversion,
                "This is not an FloatType, type-safety required without implicit conversion.\n");
    return ConvertToFloat();
}

bool DynamicStructure::AsBoolean(bool implicitConversion) const
{
    if (const auto* value = std::get_if<bool>(&mPayload)) {
        return *value;
    }
    MG_ERROR_IF(!implicitConversion,
                "This is not an BooleanType, type-safety required without implicit conversion.\n");
    return ConvertToBoolean();
}

std::string DynamicStructure::AsString(bool implicitConversion) const
{
    if (const auto* value = std::get_if<Text>(&mPayload)) {
        return std::string(value->View());
    }
    MG_ERROR_IF(!implicitConversion,
                "This is not an StringType, type-safety required without implicit conversion.\n");
    return ConvertToString();
}

float DynamicStructure::AsFloatWithDefault(float defaultValue, bool implicitConversion) const
{
    if (IsNil() || (!IsFloat() && !implicitConversion)) {
        return defaultValue;
    }
    return IsFloat() ? std::get<float>(mPayload) : ConvertToFloat();
}

bool DynamicStructure::AsBooleanWithDefault(bool defaultValue, bool implicitConversion) const
{
    if (IsNil() || (!IsBoolean() && !implicitConversion)) {
        return defaultValue;
    }
    return IsBoolean() ? std::get<bool>(mPayload) : ConvertToBoolean();
}

void DynamicStructure::CheckTypeChange(ValueType newType, bool implicitTypeChange, const char* message) const
{
    const ValueType type = GetValueType();
    MG_ERROR_IF(!implicitTypeChange && type != NilType && type != newType, "%s", message);
}

void DynamicStructure::SetValue(std::int32_t value, bool implicitTypeChange)
{
    SetValue(std::int64_t{value}, implicitTypeChange);
}

void DynamicStructure::SetValue(std::int64_t value, bool implicitTypeChange)
{
    CheckTypeChange(IntegerType, implicitTypeChange,
                    "Expected NilType or IntegerType types in order to set a integer value.\n");
    mPayload = value;
}

void DynamicStructure::SetValue(float value, bool implicitTypeChange)
{
    CheckTypeChange(FloatType, implicitTypeChange,
                    "Expected NilType or FloatType types in order to set a float value.\n");
    mPayload = value;
}

void DynamicStructure::SetValue(bool value, bool implicitTypeChange)
{
    CheckTypeChange(BooleanType, implicitTypeChange,
                    "Expected NilType or BooleanType types in order to set a booelean value.\n");
    mPayload = value;
}

void DynamicStructure::SetValue(std::string value, bool implicitTypeChange)
{
    CheckTypeChange(StringType, implicitTypeChange,
                    "Expected NilType or StringType types in order to set a string value.\n");
    mPayload = Text(value);
}

void DynamicStructure::SetValue(const char* value, bool implicitTypeChange)
{
    SetValue(std::string(value != nullptr ? value : ""), implicitTypeChange);
}

DynamicStructure& DynamicStructure::PushValue(DynamicStructure value)
{
    if (IsNil()) {
        mPayload = std::make_unique<Array>();
    }
    if (!IsArray()) {
        MG_ERROR("mgExternalError: Expected this DynamicStructure to be NilType or ArrayType.");
        return ScratchValue();
    }
    MG_ERROR_IF(value.IsNil(), "Cannot push a Nil value into an array.\n");
    Array& array = *std::get<std::unique_ptr<Array>>(mPayload);
    return array.emplace_back(std::move(value));
}

const DynamicStructure& DynamicStructure::operator[](std::size_t index) const
{
    const auto* array = std::get_if<std::unique_ptr<Array>>(&mPayload);
    if (array == nullptr) {
        MG_ERROR("mgExternalError: Expected this DynamicStructure to be an ArrayType.\n");
        return NullValue;
    }
    if (index >= (*array)->size()) {
        MG_ERROR("mgExternalError: Expected index to be in bounds of array size.\n");
        return NullValue;
    }
    return (**array)[index];
}

DynamicStructure& DynamicStructure::operator[](std::size_t index)
{
    const DynamicStructure& element = std::as_const(*this)[index];
    if (&element == &NullValue) {
        return ScratchValue();
    }
    return const_cast<DynamicStructure&>(element);
}

std::size_t DynamicStructure::size() const
{
    if (const auto* array = std::get_if<std::unique_ptr<Array>>(&mPayload)) {
        return (*array)->size();
    }
    if (const auto* structure = std::get_if<StructurePointer>(&mPayload)) {
        return (*structure)->size();
    }
    return 0;
}

DynamicStructure& DynamicStructure::AddMember(const std::string& name, DynamicStructure value)
{
    if (IsNil()) {
        mPayload = Structure::Make(Structure::kStartingRoom);
    }
    if (!IsStructure()) {
        MG_ERROR("mgExternalError: Expected this DynamicStructure to be NilType or StructureType.");
        return ScratchValue();
    }
    const auto [member, added] = std::get<StructurePointer>(mPayload)->Insert(name, std::move(value));
    MG_ERROR_IF(!added, "mgExternalError: Expected not to find a member with name \"%s\" already existing.",
                name.c_str());
    return member->second;
}

const DynamicStructure& DynamicStructure::GetMember(const char* name) const
{
    if (IsNil() || name == nullptr) {
        return NullValue;
    }
    const auto* structure = std::get_if<StructurePointer>(&mPayload);
    if (structure == nullptr) {
        MG_ERROR("Expected this DynamicStructure to be an StructureType or a NilType.\n");
        return NullValue;
    }
    const Member* member = (*structure)->Find(name);
    return member != nullptr ? member->second : NullValue;
}

std::vector<std::string> DynamicStructure::GetMemberNames() const
{
    std::vector<std::string> names;
    if (const auto* structure = std::get_if<StructurePointer>(&mPayload)) {
        names.reserve((*structure)->size());
        (*structure)->VisitInNameOrder([&names](const Member& member) { names.push_back(member.first); });
    }
    return names;
}

bool DynamicStructure::operator==(const DynamicStructure& other) const
{
    if (GetValueType() != other.GetValueType()) {
        return false;
    }
    switch (GetValueType()) {
    case NilType:
        return true;
    case IntegerType:
        return std::get<std::int64_t>(mPayload) == std::get<std::int64_t>(other.mPayload);
    case FloatType:
        return std::fabs(std::get<float>(mPayload) - std::get<float>(other.mPayload)) <= kFloatTolerance;
    case BooleanType:
        return std::get<bool>(mPayload) == std::get<bool>(other.mPayload);
    case StringType:
        return std::get<Text>(mPayload).View() == std::get<Text>(other.mPayload).View();
    case ArrayType:
    case StructureType:
        break;
    }
    MG_ERROR("Cannot test equality for this type(%d).\n", static_cast<int>(GetValueType()));
    return false;
}

std::int64_t DynamicStructure::ConvertToInteger() const
{
    return std::visit(Overloaded{
                          [](std::monostate) -> std::int64_t { return 0; },
                          [](std::int64_t value) { return value; },
                          [](float value) { return TruncateToInteger<std::int64_t>(value); },
                          [](bool value) -> std::int64_t { return value ? 1 : 0; },
                          [](const Text& text) { return FromString<std::int64_t>(std::string(text.View())); },
                          [this](const auto&) -> std::int64_t {
                              MG_ERROR("Cannot convert this type(%d) to an integer.\n",
                                       static_cast<int>(GetValueType()));
                              return 0;
                          },
                      },
                      mPayload);
}

float DynamicStructure::ConvertToFloat() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return 0.0f; },
                          [](std::int64_t value) { return static_cast<float>(value); },
                          [](float value) { return value; },
                          [](bool value) { return value ? 1.0f : 0.0f; },
                          [](const Text& text) { return FromString<float>(std::string(text.View())); },
                          [this](const auto&) {
                              MG_ERROR("Cannot convert this type(%d) to a float.\n",
                                       static_cast<int>(GetValueType()));
                              return 0.0f;
                          },
                      },
                      mPayload);
}

bool DynamicStructure::ConvertToBoolean() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return false; },
                          [](std::int64_t value) { return value != 0; },
                          [](float value) { return !(value > -kFloatTolerance && value < kFloatTolerance); },
                          [](bool value) { return value; },
                          [](const Text& text) { return text.View() == "1" || text.View() == "true"; },
                          [this](const auto&) {
                              MG_ERROR("Cannot convert this type(%d) to a boolean.\n",
                                       static_cast<int>(GetValueType()));
                              return false;
                          },
                      },
                      mPayload);
}

std::string DynamicStructure::ConvertToString() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return std::string(); },
                          [](std::int64_t value) { return ToString(value); },
                          [](float value) { return ToString(value); },
                          [](bool value) { return std::string(value ? "true" : "false"); },
                          [](const Text& text) { return std::string(text.View()); },
                          [this](const auto&) {
                              MG_ERROR("Cannot convert this type(%d) to a string.\n",
                                       static_cast<int>(GetValueType()));
                              return std::string();
                          },
                      },
                      mPayload);
}

} // namespace Marrowgate::Core
