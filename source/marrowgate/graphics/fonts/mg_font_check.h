#pragma once
/// A structural check of TrueType font data before stb_truetype reads it.
/// @file
/// stb_truetype trusts every count and offset in a font, so a damaged or hostile file would
/// make it read far outside the data. The check walks exactly the structures it will read
/// (table directory, head, hhea, hmtx, maxp, the cmap subtable it picks, loca and every glyph,
/// the kern table and the pair-adjustment lookups of GPOS) and accepts the font only when all of
/// them lie inside the data and are consistent. Glyph indices that stb_truetype derives from
/// the cmap can still exceed the glyph count; callers clamp those (see mg_font).
/// Depends on the standard library only.
///
/// Limits: only TrueType outlines (glyf) are accepted, not CFF; only the first font of a file.

#include <span>

namespace mgImplementation {

bool IsFontDataUsable(std::span<const unsigned char> data);

} // namespace mgImplementation
