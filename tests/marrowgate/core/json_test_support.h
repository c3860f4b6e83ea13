#pragma once
// Helpers shared by the JSON and dynamic-structure tests and the JSON fuzz target.
//
// Describe() writes a DynamicStructure as compact text (nil, 42, 2.5f, true, "text",
// [a,b], {name:value}), so a test can state a whole expected tree in one line without
// comparing arrays or structures through operator== (which reports them as misuse).
// ConvertJsonValue() is the two-step definition of ParseJson, written independently of the
// reader: each kind of JsonValue stored through the DynamicStructure setters. The direct
// reader must give the same tree.

#include "marrowgate/core/mg_dynamic_structure.h"
#include "marrowgate/core/mg_json_value.h"

#include <string>

namespace QuorvaneTest {

std::string Describe(const Marrowgate::Core::DynamicStructure& value);

// Arrays are filled with PushValue, which reports a nil element: the caller decides whether
// a report handler is registered. Nil elements are kept, as the reader keeps them.
Marrowgate::Core::DynamicStructure ConvertJsonValue(const Marrowgate::Core::JsonValue& value);

} // namespace QuorvaneTest
