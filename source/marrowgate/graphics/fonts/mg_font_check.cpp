#include "marrowgate/graphics/fonts/mg_font_check.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace mgImplementation {

namespace {

// Composite glyphs nest; stb_truetype follows them recursively, so the depth is bounded.
constexpr int kMaximumCompositeDepth = 16;

class FontReader
{
public:
    explicit FontReader(std::span<const unsigned char> data) : mData(data) {}

    bool Has(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= mData.size() && length <= mData.size() - offset;
    }
    std::uint16_t U16(std::uint64_t offset) const
    {
        return static_cast<std::uint16_t>(mData[offset] << 8 | mData[offset + 1]);
    }
    std::int16_t S16(std::uint64_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
    std::uint32_t U32(std::uint64_t offset) const
    {
        return static_cast<std::uint32_t>(U16(offset)) << 16 | U16(offset + 2);
    }
    std::uint8_t U8(std::uint64_t offset) const { return mData[offset]; }

private:
    std::span<const unsigned char> mData;
};

struct Table
{
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    bool present = false;
};

struct Tables
{
    Table cmap, loca, head, glyf, hhea, hmtx, maxp, kern, gpos;
};

bool ReadTableDirectory(const FontReader& reader, Tables& tables)
{
    if (!reader.Has(0, 12)) {
        return false;
    }
    const std::uint32_t version = reader.U32(0);
    if (version != 0x00010000u && version != 0x74727565u) { // 1.0 or 'true'
        return false;
    }
    const std::uint16_t tableCount = reader.U16(4);
    if (!reader.Has(12, 16ull * tableCount)) {
        return false;
    }
    const std::pair<const char*, Table*> wanted[] = {
        {"cmap", &tables.cmap}, {"loca", &tables.loca}, {"head", &tables.head},
        {"glyf", &tables.glyf}, {"hhea", &tables.hhea}, {"hmtx", &tables.hmtx},
        {"maxp", &tables.maxp}, {"kern", &tables.kern}, {"GPOS", &tables.gpos}};
    for (std::uint32_t index = 0; index < tableCount; ++index) {
        const std::uint64_t record = 12ull + 16ull * index;
        for (const auto& [tag, table] : wanted) {
            const bool tagMatches =
                reader.U32(record) ==
                (static_cast<std::uint32_t>(tag[0]) << 24 | static_cast<std::uint32_t>(tag[1]) << 16 |
                 static_cast<std::uint32_t>(tag[2]) << 8 | static_cast<std::uint32_t>(tag[3]));
            // The reader uses the first table of a tag, so only that one matters.
            if (tagMatches && !table->present) {
                table->offset = reader.U32(record + 8);
                table->length = reader.U32(record + 12);
                table->present = true;
                if (!reader.Has(table->offset, table->length)) {
                    return false;
                }
            }
        }
    }
    return tables.cmap.present && tables.loca.present && tables.head.present && tables.glyf.present &&
           tables.hhea.present && tables.hmtx.present && tables.maxp.present;
}

bool IsFormat4Usable(const FontReader& reader, std::uint64_t subtable, std::uint64_t end)
{
    const std::uint32_t segmentCount = reader.U16(subtable + 6) / 2u;
    if (segmentCount == 0 || subtable + 16ull + 8ull * segmentCount > end) {
        return false;
    }
    // The lookup trusts searchRange, entrySelector and rangeShift; bound how far they can move.
    const std::uint32_t searchRange = reader.U16(subtable + 8) / 2u;
    const std::uint32_t entrySelector = reader.U16(subtable + 10);
    const std::uint32_t rangeShift = reader.U16(subtable + 12) / 2u;
    if (rangeShift >= segmentCount || entrySelector > 16) {
        return false;
    }
    std::uint64_t furthest = 2ull * rangeShift;
    for (std::uint32_t step = 1; step <= entrySelector; ++step) {
        furthest += 2ull * (searchRange >> step);
    }
    if (furthest > 2ull * segmentCount - 2ull) {
        return false;
    }
    const std::uint64_t ends = subtable + 14;
    const std::uint64_t starts = ends + 2ull * segmentCount + 2ull;
    const std::uint64_t rangeOffsets = starts + 4ull * segmentCount;
    for (std::uint32_t segment = 0; segment < segmentCount; ++segment) {
        const std::uint16_t last = reader.U16(ends + 2ull * segment);
        const std::uint16_t start = reader.U16(starts + 2ull * segment);
        const std::uint16_t rangeOffset = reader.U16(rangeOffsets + 2ull * segment);
        if (rangeOffset == 0 || last < start) {
            continue;
        }
        const std::uint64_t lastEntry = rangeOffsets + 2ull * segment + rangeOffset + 2ull * (last - start);
        if (!reader.Has(lastEntry, 2)) {
            return false;
        }
    }
    return true;
}

// Picks the subtable the way stb_truetype does (the last Unicode record wins) and checks it.
bool IsCharacterMapUsable(const FontReader& reader, const Table& cmap)
{
    const std::uint64_t end = std::uint64_t{cmap.offset} + cmap.length;
    if (cmap.length < 4) {
        return false;
    }
    const std::uint16_t recordCount = reader.U16(cmap.offset + 2);
    if (4ull + 8ull * recordCount > cmap.length) {
        return false;
    }
    std::uint64_t subtable = 0;
    for (std::uint32_t index = 0; index < recordCount; ++index) {
        const std::uint64_t record = cmap.offset + 4ull + 8ull * index;
        const std::uint16_t platform = reader.U16(record);
        const std::uint16_t encoding = reader.U16(record + 2);
        if (platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10))) {
            subtable = cmap.offset + std::uint64_t{reader.U32(record + 4)};
        }
    }
    if (subtable == 0 || subtable + 14 > end) {
        return false;
    }
    switch (reader.U16(subtable)) {
    case 0:
        return subtable + 262 <= end;
    case 4:
        return IsFormat4Usable(reader, subtable, end);
    case 6:
        return subtable + 10ull + 2ull * reader.U16(subtable + 8) <= end;
    case 12:
    case 13:
        return subtable + 16 <= end && subtable + 16ull + 12ull * reader.U32(subtable + 12) <= end;
    default:
        return false;
    }
}

class GlyphChecker
{
public:
    GlyphChecker(const FontReader& reader, const Tables& tables, std::uint32_t glyphCount, bool longOffsets)
        : mReader(reader), mTables(tables), mGlyphCount(glyphCount), mLongOffsets(longOffsets),
          mDepth(glyphCount, kUnknown)
    {}

    bool AreOffsetsUsable() const
    {
        const std::uint64_t entrySize = mLongOffsets ? 4 : 2;
        if (mTables.loca.length < entrySize * (mGlyphCount + 1ull)) {
            return false;
        }
        std::uint64_t previous = 0;
        for (std::uint32_t glyph = 0; glyph <= mGlyphCount; ++glyph) {
            const std::uint64_t offset = GlyphOffset(glyph);
            if (offset < previous || offset > mTables.glyf.length) {
                return false;
            }
            previous = offset;
        }
        return true;
    }

    bool AreGlyphsUsable()
    {
        for (std::uint32_t glyph = 0; glyph < mGlyphCount; ++glyph) {
            if (Depth(glyph) < 0) {
                return false;
            }
        }
        return true;
    }

private:
    static constexpr int kUnknown = -1;
    static constexpr int kVisiting = -2;
    static constexpr int kBroken = -3;

    std::uint64_t GlyphOffset(std::uint32_t glyph) const
    {
        const std::uint64_t loca = mTables.loca.offset;
        return mLongOffsets ? mReader.U32(loca + 4ull * glyph) : 2ull * mReader.U16(loca + 2ull * glyph);
    }

    // Nesting depth of the glyph (0 for a simple one), or a negative value when it is broken.
    int Depth(std::uint32_t glyph)
    {
        int& depth = mDepth[glyph];
        if (depth == kVisiting) {
            return kBroken; // a composite that contains itself
        }
        if (depth != kUnknown) {
            return depth;
        }
        depth = kVisiting;
        const std::uint64_t start = GlyphOffset(glyph);
        const std::uint64_t length = GlyphOffset(glyph + 1) - start;
        const std::uint64_t base = mTables.glyf.offset + start;
        int result = 0;
        if (length == 0) {
            result = 0;
        } else if (length < 10) {
            result = kBroken;
        } else if (mReader.S16(base) > 0) {
            result = IsSimpleGlyphUsable(base, length) ? 0 : kBroken;
        } else if (mReader.S16(base) < 0) {
            result = CompositeDepth(base, length);
        }
        mDepth[glyph] = result;
        return result;
    }

    bool IsSimpleGlyphUsable(std::uint64_t base, std::uint64_t length) const
    {
        const std::uint64_t end = base + length;
        const std::uint32_t contourCount = static_cast<std::uint32_t>(mReader.S16(base));
        if (base + 12ull + 2ull * contourCount > end) {
            return false;
        }
        // Contour ends must rise strictly, or the outline walk reads past the end list.
        std::int64_t previousEnd = -1;
        for (std::uint32_t contour = 0; contour < contourCount; ++contour) {
            const std::int64_t contourEnd = mReader.U16(base + 10ull + 2ull * contour);
            if (contourEnd <= previousEnd) {
                return false;
            }
            previousEnd = contourEnd;
        }
        const std::uint64_t pointCount = static_cast<std::uint64_t>(previousEnd) + 1;
        std::uint64_t cursor =
            base + 12ull + 2ull * contourCount + mReader.U16(base + 10ull + 2ull * contourCount);
        std::uint64_t coordinateBytes = 0;
        std::uint32_t repeats = 0;
        std::uint8_t flags = 0;
        for (std::uint64_t point = 0; point < pointCount; ++point) {
            if (repeats == 0) {
                if (cursor >= end) {
                    return false;
                }
                flags = mReader.U8(cursor++);
                if ((flags & 8) != 0) {
                    if (cursor >= end) {
                        return false;
                    }
                    repeats = mReader.U8(cursor++);
                }
            } else {
                --repeats;
            }
            coordinateBytes += (flags & 2) != 0 ? 1 : ((flags & 16) != 0 ? 0 : 2);
            coordinateBytes += (flags & 4) != 0 ? 1 : ((flags & 32) != 0 ? 0 : 2);
        }
        return cursor + coordinateBytes <= end;
    }

    int CompositeDepth(std::uint64_t base, std::uint64_t length)
    {
        const std::uint64_t end = base + length;
        std::uint64_t cursor = base + 10;
        int deepest = 0;
        bool more = true;
        while (more) {
            if (cursor + 4 > end) {
                return kBroken;
            }
            const std::uint16_t flags = mReader.U16(cursor);
            const std::uint16_t component = mReader.U16(cursor + 2);
            cursor += 4 + ((flags & 1) != 0 ? 4 : 2);
            cursor += (flags & 8) != 0 ? 2 : ((flags & 64) != 0 ? 4 : ((flags & 128) != 0 ? 8 : 0));
            // The reader reads the component index as signed and handles only offset arguments
            // (flag 2), so anything else would send it astray.
            if (cursor > end || component >= mGlyphCount || component >= 0x8000 || (flags & 2) == 0) {
                return kBroken;
            }
            const int depth = Depth(component);
            if (depth < 0 || depth + 1 > kMaximumCompositeDepth) {
                return kBroken;
            }
            deepest = std::max(deepest, depth + 1);
            more = (flags & 32) != 0;
        }
        return deepest;
    }

    const FontReader& mReader;
    const Tables& mTables;
    std::uint32_t mGlyphCount;
    bool mLongOffsets;
    std::vector<int> mDepth;
};

bool IsKerningTableUsable(const FontReader& reader, const Table& kern)
{
    if (!kern.present) {
        return true;
    }
    if (kern.length < 10) {
        return false;
    }
    if (reader.U16(kern.offset + 2) < 1 || reader.U16(kern.offset + 8) != 1) {
        return true; // never searched
    }
    return 18ull + 6ull * reader.U16(kern.offset + 10) <= kern.length;
}

// The largest coverage index the table can yield, -1 when it covers nothing, or -2 when the
// table itself does not fit.
std::int64_t LargestCoverageIndex(const FontReader& reader, std::uint64_t coverage)
{
    if (!reader.Has(coverage, 4)) {
        return -2;
    }
    const std::uint16_t count = reader.U16(coverage + 2);
    switch (reader.U16(coverage)) {
    case 1:
        return reader.Has(coverage + 4, 2ull * count) ? std::int64_t{count} - 1 : -2;
    case 2: {
        if (!reader.Has(coverage + 4, 6ull * count)) {
            return -2;
        }
        std::int64_t largest = -1;
        for (std::uint32_t range = 0; range < count; ++range) {
            const std::uint64_t record = coverage + 4ull + 6ull * range;
            const std::int64_t first = reader.U16(record);
            const std::int64_t last = reader.U16(record + 2);
            if (last >= first) {
                largest = std::max(largest, std::int64_t{reader.U16(record + 4)} + last - first);
            }
        }
        return largest;
    }
    default:
        return -1; // unsupported formats are skipped by the reader
    }
}

bool IsClassDefinitionUsable(const FontReader& reader, std::uint64_t classes)
{
    if (!reader.Has(classes, 2)) {
        return false;
    }
    switch (reader.U16(classes)) {
    case 1:
        return reader.Has(classes, 6) && reader.Has(classes + 6, 2ull * reader.U16(classes + 4));
    case 2:
        return reader.Has(classes, 4) && reader.Has(classes + 4, 6ull * reader.U16(classes + 2));
    default:
        return true;
    }
}

bool IsPairSubtableUsable(const FontReader& reader, std::uint64_t table)
{
    if (!reader.Has(table, 4)) {
        return false;
    }
    const std::int64_t largestIndex = LargestCoverageIndex(reader, table + reader.U16(table + 2));
    if (largestIndex == -2) {
        return false;
    }
    if (largestIndex == -1) {
        return true;
    }
    const std::uint16_t format = reader.U16(table);
    if (format == 1) {
        if (!reader.Has(table, 10) || reader.U16(table + 4) != 4 || reader.U16(table + 6) != 0) {
            return reader.Has(table, 10);
        }
        const std::uint16_t pairSetCount = reader.U16(table + 8);
        // The reader fetches a pair set's offset before comparing the index with the count.
        if (largestIndex >= pairSetCount || !reader.Has(table + 10, 2ull * pairSetCount)) {
            return false;
        }
        for (std::uint32_t set = 0; set < pairSetCount; ++set) {
            const std::uint64_t pairs = table + reader.U16(table + 10ull + 2ull * set);
            if (!reader.Has(pairs, 2) || !reader.Has(pairs + 2, 4ull * reader.U16(pairs))) {
                return false;
            }
        }
        return true;
    }
    if (format == 2) {
        if (!reader.Has(table, 16)) {
            return false;
        }
        if (reader.U16(table + 4) != 4 || reader.U16(table + 6) != 0) {
            return true;
        }
        return IsClassDefinitionUsable(reader, table + reader.U16(table + 8)) &&
               IsClassDefinitionUsable(reader, table + reader.U16(table + 10)) &&
               reader.Has(table + 16, 2ull * reader.U16(table + 12) * reader.U16(table + 14));
    }
    return true;
}

bool IsPositioningTableUsable(const FontReader& reader, const Table& gpos)
{
    if (!gpos.present) {
        return true;
    }
    if (gpos.length < 10) {
        return false;
    }
    if (reader.U16(gpos.offset) != 1 || reader.U16(gpos.offset + 2) != 0) {
        return true; // the reader ignores other versions
    }
    const std::uint64_t lookups = gpos.offset + std::uint64_t{reader.U16(gpos.offset + 8)};
    if (!reader.Has(lookups, 2) || !reader.Has(lookups + 2, 2ull * reader.U16(lookups))) {
        return false;
    }
    for (std::uint32_t lookup = 0; lookup < reader.U16(lookups); ++lookup) {
        const std::uint64_t table = lookups + reader.U16(lookups + 2ull + 2ull * lookup);
        if (!reader.Has(table, 6)) {
            return false;
        }
        if (reader.U16(table) != 2) {
            continue;
        }
        const std::uint16_t subtableCount = reader.U16(table + 4);
        if (!reader.Has(table + 6, 2ull * subtableCount)) {
            return false;
        }
        for (std::uint32_t subtable = 0; subtable < subtableCount; ++subtable) {
            if (!IsPairSubtableUsable(reader, table + reader.U16(table + 6ull + 2ull * subtable))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool IsFontDataUsable(std::span<const unsigned char> data)
{
    const FontReader reader(data);
    Tables tables;
    if (!ReadTableDirectory(reader, tables)) {
        return false;
    }
    if (tables.head.length < 54 || tables.hhea.length < 36 || tables.maxp.length < 6) {
        return false;
    }
    const std::uint16_t unitsPerEm = reader.U16(tables.head.offset + 18);
    const std::uint16_t locaFormat = reader.U16(tables.head.offset + 50);
    const std::uint32_t glyphCount = reader.U16(tables.maxp.offset + 4);
    const std::uint32_t longMetricCount = reader.U16(tables.hhea.offset + 34);
    if (unitsPerEm == 0 || locaFormat > 1 || glyphCount == 0 || longMetricCount == 0) {
        return false;
    }
    const std::uint64_t metricBytes =
        4ull * longMetricCount +
        (glyphCount > longMetricCount ? 2ull * (glyphCount - longMetricCount) : 0ull);
    if (metricBytes > tables.hmtx.length) {
        return false;
    }
    GlyphChecker glyphs(reader, tables, glyphCount, locaFormat == 1);
    return IsCharacterMapUsable(reader, tables.cmap) && glyphs.AreOffsetsUsable() &&
           glyphs.AreGlyphsUsable() && IsKerningTableUsable(reader, tables.kern) &&
           IsPositioningTableUsable(reader, tables.gpos);
}

} // namespace mgImplementation
