#include "marrowgate/core/mg_json_bracket_matcher.h"

#include <cstring>

namespace mgImplementation {
namespace {

bool IsSwitchingQuote(std::string_view text, std::size_t position)
{
    return text[position] == '"' && (position == 0 || text[position - 1] != '\\');
}

bool Closes(char open, char close)
{
    return (open == '[' && close == ']') || (open == '{' && close == '}');
}

} // namespace

std::size_t JsonBracketMatcher::FindClose(std::size_t open, std::size_t end)
{
    Record& record = mRecords[SwitchingQuoteParityBefore(open) ? 1 : 0];
    while (record.cursor < record.entries.size() && record.entries[record.cursor].open < open) {
        ++record.cursor;
    }
    const bool recorded = record.cursor < record.entries.size() && record.entries[record.cursor].open == open;
    if (!recorded) {
        Scan(open, end, record);
    }
    const std::uint32_t close = record.entries[record.cursor].close;
    // A recorded close lies beyond `end` when the question is asked about a shorter text than
    // the one scanned; within the shorter text that bracket is unclosed.
    return close != kUnclosed && close < end ? close : kNotFound;
}

bool JsonBracketMatcher::SwitchingQuoteParityBefore(std::size_t position)
{
    if (position < mParityPosition) {
        mParityPosition = 0;
        mParity = false;
    }
    const char* text = mText.data();
    std::size_t next = mParityPosition;
    while (next < position) {
        const void* quote = std::memchr(text + next, '"', position - next);
        if (quote == nullptr) {
            break;
        }
        next = static_cast<std::size_t>(static_cast<const char*>(quote) - text);
        mParity ^= IsSwitchingQuote(mText, next);
        ++next;
    }
    mParityPosition = position;
    return mParity;
}

void JsonBracketMatcher::Scan(std::size_t open, std::size_t end, Record& record)
{
    record.entries.clear();
    record.cursor = 0;
    mOpenEntries.clear();
    const char* const text = mText.data();
    std::size_t position = open;
    while (position < end) {
        const char character = text[position];
        if (character == '"' && IsSwitchingQuote(mText, position)) {
            // Inside a string only the quote that ends it matters.
            std::size_t quote = position;
            do {
                const void* found = std::memchr(text + quote + 1, '"', end - quote - 1);
                if (found == nullptr) {
                    return;
                }
                quote = static_cast<std::size_t>(static_cast<const char*>(found) - text);
            } while (!IsSwitchingQuote(mText, quote));
            position = quote + 1;
            continue;
        }
        if (character == '[' || character == '{') {
            mOpenEntries.push_back(static_cast<std::uint32_t>(record.entries.size()));
            record.entries.push_back({static_cast<std::uint32_t>(position), kUnclosed});
        } else if (character == ']' || character == '}') {
            Entry& innermost = record.entries[mOpenEntries.back()];
            if (!Closes(text[innermost.open], character)) {
                // Every bracket still open fails here, the first one included.
                return;
            }
            innermost.close = static_cast<std::uint32_t>(position);
            mOpenEntries.pop_back();
            if (mOpenEntries.empty()) {
                return;
            }
        }
        ++position;
    }
}

} // namespace mgImplementation
