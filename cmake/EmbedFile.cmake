# Script mode: writes HEADER and SOURCE that hold the bytes of INPUT as SYMBOL().
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${HEADER}" "#pragma once\n#include <span>\n\nstd::span<const unsigned char> ${SYMBOL}();\n")
file(WRITE "${SOURCE}" "#include \"embedded/${SYMBOL}.h\"\n\nnamespace {\nconst unsigned char kBytes[${byte_count} + 1] = {\n${bytes}0};\n}\n\nstd::span<const unsigned char> ${SYMBOL}() { return {kBytes, ${byte_count}}; }\n")
