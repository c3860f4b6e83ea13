// Feeds arbitrary bytes to the JSON reader. Beyond surviving every input (the sanitizers
// watch memory and undefined behaviour), the reader must not report, and its two results
// must agree: the DynamicStructure read directly equals the JsonValue tree converted member by
// member, and a copy of it reads the same.

#include "marrowgate/core/mg_json_parser.h"

#include "marrowgate/core/json_test_support.h"
#include "support/error_capture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "json_parser_fuzzer: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    QuorvaneTest::ErrorCapture errors;
    const Marrowgate::Core::DynamicStructure direct = Marrowgate::Core::ParseJson(text);
    Require(!errors.Fired(), "reading reported an error");

    const std::string description = QuorvaneTest::Describe(direct);
    const Marrowgate::Core::JsonValue value = Marrowgate::Core::ParseJsonText(text);
    Require(QuorvaneTest::Describe(QuorvaneTest::ConvertJsonValue(value)) == description,
            "ParseJson differs from the converted ParseJsonText");
    const Marrowgate::Core::DynamicStructure copy = direct;
    Require(QuorvaneTest::Describe(copy) == description, "a copy differs from its original");
    return 0;
}
