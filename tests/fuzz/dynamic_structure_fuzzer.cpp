// Runs arbitrary sequences of DynamicStructure operations, misuse included, over four values
// while the error facility returns (so every "carry on after the report" path runs). The
// sanitizers watch memory; the checks watch what must always hold: a copy reads like its
// original, a structure's names stay sorted and unique, NullValue stays nil.

#include "marrowgate/core/mg_dynamic_structure.h"

#include "marrowgate/core/json_test_support.h"
#include "support/error_capture.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Marrowgate::Core::DynamicStructure;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "dynamic_structure_fuzzer: %s\n", what);
        std::abort();
    }
}

class Input
{
public:
    Input(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}

    bool Empty() const { return mPosition >= mSize; }
    std::uint8_t Byte() { return mPosition < mSize ? mData[mPosition++] : 0; }
    template <typename Number> Number Take()
    {
        Number value{};
        const std::size_t count = std::min(sizeof value, mSize - std::min(mPosition, mSize));
        std::memcpy(&value, mData + mPosition, count);
        mPosition += count;
        return value;
    }
    std::string Text()
    {
        const std::size_t length = std::min<std::size_t>(Byte() % 24, mSize - std::min(mPosition, mSize));
        std::string text(reinterpret_cast<const char*>(mData + mPosition), length);
        mPosition += length;
        return text;
    }

private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mPosition = 0;
};

// Values are copied into each other; without a bound, pushing a value into itself again
// and again would double its size every step.
std::size_t CountValues(const DynamicStructure& value, std::size_t limit)
{
    std::size_t count = 1;
    if (value.IsArray()) {
        for (std::size_t index = 0; index < value.size() && count < limit; ++index) {
            count += CountValues(value[index], limit - count);
        }
    } else if (value.IsStructure()) {
        for (const std::string& name : value.GetMemberNames()) {
            count += CountValues(value.GetMember(name.c_str()), limit - count);
            if (count >= limit) {
                break;
            }
        }
    }
    return count;
}

void CheckInvariants(const DynamicStructure& value)
{
    Require(QuorvaneTest::Describe(DynamicStructure(value)) == QuorvaneTest::Describe(value),
            "a copy differs from its original");
    const std::vector<std::string> names = value.GetMemberNames();
    Require(names.size() == (value.IsStructure() ? value.size() : 0), "member count and size() disagree");
    for (std::size_t index = 1; index < names.size(); ++index) {
        Require(names[index - 1] < names[index], "member names are not sorted and unique");
    }
}

void RunOperation(Input& input, std::array<DynamicStructure, 4>& values)
{
    constexpr std::size_t kValueLimit = 2000;
    const std::uint8_t operation = input.Byte();
    DynamicStructure& target = values[input.Byte() % values.size()];
    const DynamicStructure& source = values[input.Byte() % values.size()];
    const bool flag = (operation & 0x80) != 0;
    switch (operation % 14) {
    case 0:
        target.SetValue(input.Take<std::int64_t>(), flag);
        break;
    case 1:
        target.SetValue(input.Take<float>(), flag);
        break;
    case 2:
        target.SetValue(flag, (operation & 0x40) != 0);
        break;
    case 3:
        target.SetValue(input.Text(), flag);
        break;
    case 4:
        if (CountValues(target, kValueLimit) + CountValues(source, kValueLimit) < kValueLimit) {
            target.PushValue(source);
        }
        break;
    case 5:
        if (CountValues(target, kValueLimit) + CountValues(source, kValueLimit) < kValueLimit) {
            target.AddMember(input.Text(), source);
        }
        break;
    case 6:
        target = DynamicStructure(source[input.Byte()]);
        break;
    case 7:
        target[input.Byte()].SetValue(input.Take<std::int32_t>(), flag);
        break;
    case 8:
        target = DynamicStructure(source.GetMember(input.Text().c_str()));
        break;
    case 9:
        (void)source.AsInteger(flag), (void)source.AsFloat(flag), (void)source.AsBoolean(flag);
        break;
    case 10:
        (void)source.AsString(flag), (void)source.AsFloatWithDefault(1.5f, flag);
        break;
    case 11:
        target = source;
        break;
    case 12:
        target = std::move(values[input.Byte() % values.size()]);
        break;
    case 13:
        (void)(target == source), (void)source.AsBooleanWithDefault(flag, !flag);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QuorvaneTest::ErrorCapture errors;
    Input input(data, size);
    std::array<DynamicStructure, 4> values;
    while (!input.Empty()) {
        RunOperation(input, values);
    }
    for (const DynamicStructure& value : values) {
        CheckInvariants(value);
    }
    Require(Marrowgate::Core::NullValue.IsNil(), "NullValue changed");
    return 0;
}
