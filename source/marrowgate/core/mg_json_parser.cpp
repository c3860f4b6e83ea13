#include "marrowgate/core/mg_json_parser.h"

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_dynamic_structure_members.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_json_text_reader.h"
#include "marrowgate/core/mg_number_conversions.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace {
constexpr char kUnitName[] = "mg_json_parser";

using Marrowgate::Core::JsonValue;

class JsonValueBuilder
{
public:
    using Value = JsonValue;

    static Value String(std::string_view text) { return JsonValue(std::string(text)); }
    static Value Integer(std::int32_t value) { return JsonValue(value); }
    static Value Float64(double value) { return JsonValue(value); }
    static Value Boolean(bool value) { return JsonValue(value); }

    std::size_t BeginObject() const { return mMembers.size(); }
    void AddMember(std::string_view name, Value value) { mMembers.emplace_back(name, std::move(value)); }
    Value FinishObject(std::size_t mark)
    {
        JsonValue::Object object;
        // In reading order, so a later member of the same name replaces an earlier one.
        for (auto member = mMembers.begin() + static_cast<std::ptrdiff_t>(mark); member != mMembers.end();
             ++member) {
            object.insert_or_assign(std::string(member->first), std::move(member->second));
        }
        DiscardObject(mark);
        return JsonValue(std::move(object));
    }
    void DiscardObject(std::size_t mark) { mMembers.resize(mark); }

    std::size_t BeginArray() const { return mElements.size(); }
    void AddElement(Value value) { mElements.push_back(std::move(value)); }
    Value FinishArray(std::size_t mark)
    {
        const auto first = mElements.begin() + static_cast<std::ptrdiff_t>(mark);
        JsonValue::Array array(std::make_move_iterator(first), std::make_move_iterator(mElements.end()));
        DiscardArray(mark);
        return JsonValue(std::move(array));
    }
    void DiscardArray(std::size_t mark) { mElements.resize(mark); }

private:
    std::vector<std::pair<std::string_view, JsonValue>> mMembers;
    std::vector<JsonValue> mElements;
};

} // namespace

namespace mgImplementation {

// Builds the DynamicStructure that converting the JsonValue would give, without the JsonValue:
// integers widen to 64 bits, doubles narrow to float, an empty object or array becomes nil.
// Such a nil element stays in its array (silently: reading valid text reports nothing).
// Members and elements wait on two stacks until their object or array is complete, so each
// structure and array is allocated once, at its final size, and a structure's members share
// one block.
class JsonDynamicStructureBuilder
{
public:
    using Value = Marrowgate::Core::DynamicStructure;

    static Value String(std::string_view text) { return Value(Value::Payload(Value::Text(text))); }
    static Value Integer(std::int32_t value) { return Value(value); }
    static Value Float64(double value)
    {
        return Value(Value::Payload(Marrowgate::Core::NarrowToFloat(value)));
    }
    static Value Boolean(bool value) { return Value(Value::Payload(value)); }

    std::size_t BeginObject() const { return mMembers.size(); }
    void AddMember(std::string_view name, Value value) { mMembers.emplace_back(name, std::move(value)); }
    Value FinishObject(std::size_t mark);
    void DiscardObject(std::size_t mark) { mMembers.resize(mark); }

    std::size_t BeginArray() const { return mElements.size(); }
    void AddElement(Value value) { mElements.push_back(std::move(value)); }
    Value FinishArray(std::size_t mark);
    void DiscardArray(std::size_t mark) { mElements.resize(mark); }

private:
    using Members = std::vector<Value::Member>;

    // Fills mOrder with the indices of the members above `mark`, sorted by name, stably.
    void SortByName(std::size_t mark);

    Members mMembers;
    std::vector<std::uint32_t> mOrder;
    std::vector<Value> mElements;
};

void JsonDynamicStructureBuilder::SortByName(std::size_t mark)
{
    mOrder.resize(mMembers.size() - mark);
    for (std::size_t index = 0; index < mOrder.size(); ++index) {
        mOrder[index] = static_cast<std::uint32_t>(mark + index);
    }
    const auto byName = [this](std::uint32_t a, std::uint32_t b) {
        return mMembers[a].first < mMembers[b].first;
    };
    if (mOrder.size() > 32) {
        std::stable_sort(mOrder.begin(), mOrder.end(), byName);
        return;
    }
    // Objects are small: an insertion sort is stable too and needs no buffer.
    for (std::size_t next = 1; next < mOrder.size(); ++next) {
        const std::uint32_t moving = mOrder[next];
        std::size_t position = next;
        for (; position > 0 && byName(moving, mOrder[position - 1]); --position) {
            mOrder[position] = mOrder[position - 1];
        }
        mOrder[position] = moving;
    }
}

JsonDynamicStructureBuilder::Value JsonDynamicStructureBuilder::FinishObject(std::size_t mark)
{
    if (mark == mMembers.size()) {
        return Value();
    }
    // Sorting indices moves every member only once, into its final place.
    SortByName(mark);
    Value::Structure::Pointer structure = Value::Structure::Make(mOrder.size());
    for (std::size_t index = 0; index < mOrder.size(); ++index) {
        Value::Member& member = mMembers[mOrder[index]];
        // Of several members with one name the last one read wins; the sort kept their order.
        const bool replacedLater =
            index + 1 < mOrder.size() && mMembers[mOrder[index + 1]].first == member.first;
        if (!replacedLater) {
            structure->AppendInNameOrder(std::move(member));
        }
    }
    DiscardObject(mark);
    return Value(Value::Payload(std::move(structure)));
}

JsonDynamicStructureBuilder::Value JsonDynamicStructureBuilder::FinishArray(std::size_t mark)
{
    const auto first = mElements.begin() + static_cast<std::ptrdiff_t>(mark);
    if (first == mElements.end()) {
        return Value();
    }
    auto array = std::make_unique<Value::Array>(std::make_move_iterator(first),
                                                std::make_move_iterator(mElements.end()));
    DiscardArray(mark);
    return Value(Value::Payload(std::move(array)));
}

} // namespace mgImplementation

namespace Marrowgate::Core {

JsonValue ParseJsonText(std::string_view text)
{
    return mgImplementation::JsonTextReader<JsonValueBuilder>(text).ReadDocument();
}

DynamicStructure ParseJson(std::string_view text)
{
    return mgImplementation::JsonTextReader<mgImplementation::JsonDynamicStructureBuilder>(text)
        .ReadDocument();
}

DynamicStructure LoadJsonFile(const std::string& filePath)
{
    std::optional<std::string> text = ReadDataFile<std::string>(filePath, kMaximumJsonFileBytes);
    if (!text) {
        MG_ERROR("Was unable to load json file: %s\n", filePath.c_str());
        return NullValue;
    }
    text->resize(std::min(text->size(), text->find('\0')));
    return ParseJson(*text);
}

} // namespace Marrowgate::Core
