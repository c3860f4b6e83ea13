#pragma once
/// Reading JSON text into the framework's data values. Nothing is ever written back.
/// @file
/// ParseJsonText gives the reader's own JsonValue tree; ParseJson gives a DynamicStructure
/// (strings, integers, floats, booleans, arrays, structures; an empty object or array reads as
/// nil); LoadJsonFile reads a whole file and parses it. The reader is lenient and has fixed
/// acceptance rules that data files rely on (see mg_json_text_reader.h): the document must be
/// an object or an array, failures make the innermost enclosing object or array nil, and bad
/// text is never reported or thrown. Only LoadJsonFile reports, when it cannot read the file.
///
/// Depends on the error facility, DynamicStructure and JsonValue. Each call is independent;
/// several threads may parse different texts at once. Texts of 4 GiB or more read as nil.

#include "marrowgate/core/mg_dynamic_structure.h"
#include "marrowgate/core/mg_json_value.h"

#include <string>
#include <string_view>

namespace Marrowgate::Core {

JsonValue ParseJsonText(std::string_view text);
DynamicStructure ParseJson(std::string_view text);
// Reads the file through mg_data_file.h (regular files up to kMaximumJsonFileBytes), so a
// file it refuses is reported there, then as "Was unable to load json file: ..."; such a file
// gives nil, as does bad text (unreported). The text ends at the file's first zero byte.
DynamicStructure LoadJsonFile(const std::string& filePath);

} // namespace Marrowgate::Core
