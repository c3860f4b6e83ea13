#pragma once
/// Finds the bracket that closes an opening "[" or "{" for the JSON reader, in time linear in
/// the whole text however deeply it nests.
/// @file
/// The reader's matching rule: scan from the opening bracket; a quote not directly preceded
/// by a backslash switches between inside and outside a string; outside strings brackets nest
/// and a closing bracket of the wrong kind fails the match; reaching the end of the allowed
/// text fails it too. Asking each bracket separately would rescan the text once per level.
/// Instead one scan records the answer for every bracket it passes, and later questions are
/// answered from that record. Which brackets a scan sees as "outside strings" depends only on
/// the parity of the switching quotes before its start, so there is one record per parity.
///
/// Questions must come in increasing bracket position to be answered from a record (the
/// reader asks in that order); an earlier position is answered by a fresh scan. Texts must be
/// shorter than kMaximumTextSize. Depends on the standard library only.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mgImplementation {

class JsonBracketMatcher
{
public:
    static constexpr std::size_t kMaximumTextSize = UINT32_MAX;
    static constexpr std::size_t kNotFound = std::string_view::npos;

    explicit JsonBracketMatcher(std::string_view text) : mText(text) {}

    // The position of the bracket closing the one at `open`, which must be "[" or "{"; only
    // the text before `end` is searched. kNotFound when it is unclosed or mismatched.
    std::size_t FindClose(std::size_t open, std::size_t end);

private:
    struct Entry
    {
        std::uint32_t open;
        std::uint32_t close;
    };
    struct Record
    {
        std::vector<Entry> entries;
        std::size_t cursor = 0;
    };
    static constexpr std::uint32_t kUnclosed = UINT32_MAX;

    bool SwitchingQuoteParityBefore(std::size_t position);
    void Scan(std::size_t open, std::size_t end, Record& record);

    std::string_view mText;
    std::size_t mParityPosition = 0;
    bool mParity = false;
    Record mRecords[2];
    std::vector<std::uint32_t> mOpenEntries;
};

} // namespace mgImplementation
