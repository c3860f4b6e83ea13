#include "marrowgate/core/mg_json_parser.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_json_text_reader.h"
#include "marrowgate/core/mg_number_conversions.h"

#include <cstdio>
#include <memory>
#include <new>
#include <sys/stat.h>

namespace {
constexpr char kUnitName[] = "mg_json_parser";

// Data files are small; a larger "file" is a mistake (or a device) and is refused before
// anything is allocated for it.
constexpr long long kMaximumFileSize = 1LL << 30;

using Marrowgate::Core::JsonValue;

struct JsonValueBuilder
{
    using Value = JsonValue;
    using Object = JsonValue::Object;
    using Array = JsonValue::Array;

    static Value String(std::string text) { return JsonValue(std::move(text)); }
    static Value Integer(std::int32_t value) { return JsonValue(value); }
    static Value Float64(double value) { return JsonValue(value); }
    static Value Boolean(bool value) { return JsonValue(value); }
    static Object NewObject() { return {}; }
    static Array NewArray() { return {}; }
    // A later member of the same name replaces the earlier one.
    static void SetMember(Object& object, std::string_view name, Value value)
    {
        object.insert_or_assign(std::string(name), std::move(value));
    }
    static void Append(Array& array, Value value) { array.push_back(std::move(value)); }
    static Value FinishObject(Object object) { return JsonValue(std::move(object)); }
    static Value FinishArray(Array array) { return JsonValue(std::move(array)); }
};

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

namespace mgImplementation {

// Builds the DynamicStructure that converting the JsonValue would give, without the JsonValue:
// integers widen to 64 bits, doubles narrow to float, an empty object or array becomes nil.
// Such a nil element stays in its array (silently: reading valid text reports nothing).
class JsonDynamicStructureBuilder
{
public:
    using Value = Marrowgate::Core::DynamicStructure;
    using Object = Value::Structure;
    using Array = Value::Array;

    static Value String(std::string text) { return Value(Value::Payload(std::make_unique<std::string>(std::move(text)))); }
    static Value Integer(std::int32_t value) { return Value(value); }
    static Value Float64(double value) { return Value(Value::Payload(Marrowgate::Core::NarrowToFloat(value))); }
    static Value Boolean(bool value) { return Value(Value::Payload(value)); }
    static Object NewObject() { return {}; }
    static Array NewArray() { return {}; }
    static void SetMember(Object& object, std::string_view name, Value value)
    {
        const auto member = object.find(name);
        if (member != object.end()) {
            member->second = std::move(value);
        } else {
            object.emplace(std::string(name), std::move(value));
        }
    }
    static void Append(Array& array, Value value) { array.push_back(std::move(value)); }
    static Value FinishObject(Object object)
    {
        return object.empty() ? Value() : Value(Value::Payload(std::make_unique<Object>(std::move(object))));
    }
    static Value FinishArray(Array array)
    {
        return array.empty() ? Value() : Value(Value::Payload(std::make_unique<Array>(std::move(array))));
    }
};

} // namespace mgImplementation

namespace Marrowgate::Core {

JsonValue ParseJsonText(std::string_view text)
{
    return mgImplementation::JsonTextReader<JsonValueBuilder>(text).ReadDocument();
}

DynamicStructure ParseJson(std::string_view text)
{
    return mgImplementation::JsonTextReader<mgImplementation::JsonDynamicStructureBuilder>(text).ReadDocument();
}

DynamicStructure LoadJsonFile(const std::string& filePath)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(filePath.c_str(), "rb"));
    struct stat status{};
    // A directory opens for reading too, and reports a nonsense size.
    if (file == nullptr || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
        MG_ERROR("Was unable to load json file: %s\n", filePath.c_str());
        return NullValue;
    }
    std::fseek(file.get(), 0, SEEK_END);
    const long long size = std::ftell(file.get());
    std::fseek(file.get(), 0, SEEK_SET);
    if (size < 0 || size > kMaximumFileSize) {
        MG_ERROR("Was unable to allocate memory to load json file: %s", filePath.c_str());
        return NullValue;
    }
    std::string text;
    try {
        text.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        MG_ERROR("Was unable to allocate memory to load json file: %s", filePath.c_str());
        return NullValue;
    }
    // A short read leaves zeros, which end the text like the file's own first zero byte.
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    text.resize(std::min(text.size(), text.find('\0')));
    return ParseJson(text);
}

} // namespace Marrowgate::Core
