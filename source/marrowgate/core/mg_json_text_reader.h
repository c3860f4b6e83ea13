#pragma once
/// The JSON reader's parsing rules, written once for both of its results: a JsonValue tree
/// (ParseJsonText) and a DynamicStructure built directly (ParseJson), so the two can never
/// disagree. A Builder supplies the value type and makes scalars; it collects the members and
/// elements of the objects and arrays being read on stacks (Begin... marks where one starts,
/// Finish... turns everything above the mark into one value, Discard... drops it).
/// @file
/// The reader is deliberately lenient and cuts the text at brackets, quotes and commas
/// instead of tokenizing it; its acceptance rules are part of what data files rely on:
/// - the document must be an object or an array; a bare scalar reads as nil;
/// - a failure anywhere inside an object or array makes that innermost object or array nil;
///   a nil element of an array is dropped, a nil member of an object is kept as nil;
/// - member names are taken raw (not unescaped); commas between members are not checked;
/// - string values are unescaped and then trimmed; "\u" keeps the byte of its last two hex
///   digits; an unknown escape vanishes;
/// - bare tokens lose their white space; true, false and null are read in any case;
///   integers that do not fit 32 bits become doubles.
/// Positions are offsets into the one text; nothing is copied but string and token bodies.
/// Nesting deeper than kMaximumDepth fails like any other error instead of exhausting the
/// stack.
///
/// Internal to mg_json_parser.cpp. Depends on the bracket matcher and the standard library.

#include "marrowgate/core/mg_floating_text.h"
#include "marrowgate/core/mg_json_bracket_matcher.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace mgImplementation {

// The "C" locale's white space, whatever locale the program runs in.
constexpr bool IsJsonSpace(char character)
{
    return character == ' ' || (character >= '\t' && character <= '\r');
}

template <typename Builder> class JsonTextReader
{
public:
    using Value = typename Builder::Value;
    static constexpr int kMaximumDepth = 512;

    explicit JsonTextReader(std::string_view text) : mText(text), mMatcher(text) {}

    Value ReadDocument()
    {
        if (mText.size() >= JsonBracketMatcher::kMaximumTextSize) {
            return Value();
        }
        const std::size_t begin = SkipSpace(0, mText.size());
        const std::size_t end = TrimEnd(begin, mText.size());
        if (begin == end) {
            return Value();
        }
        const char first = mText[begin];
        const char last = mText[end - 1];
        if (first == '{' && last == '}') {
            return std::move(ParseObject(begin, end - 1, 1).value);
        }
        if (first == '[' && last == ']') {
            return std::move(ParseArray(begin, end - 1, 1).value);
        }
        return Value();
    }

private:
    static constexpr std::size_t kNotFound = std::string_view::npos;

    // An object or array: `present` is false when it failed and reads as nil.
    struct Container
    {
        Value value{};
        bool present = false;
    };
    // One value read from the front of a text. `present` is false for nil; `failed` makes the
    // enclosing object or array nil; `rest` is where the text after the value begins.
    struct Parsed
    {
        Value value{};
        bool present = false;
        bool failed = false;
        std::size_t rest = 0;
    };

    static Parsed Failure() { return Parsed{Value(), false, true, 0}; }

    Container ParseObject(std::size_t open, std::size_t close, int depth)
    {
        const std::size_t mark = mBuilder.BeginObject();
        if (!ReadMembers(open, close, depth)) {
            mBuilder.DiscardObject(mark);
            return {};
        }
        return {mBuilder.FinishObject(mark), true};
    }

    Container ParseArray(std::size_t open, std::size_t close, int depth)
    {
        const std::size_t mark = mBuilder.BeginArray();
        if (!ReadElements(open, close, depth)) {
            mBuilder.DiscardArray(mark);
            return {};
        }
        return {mBuilder.FinishArray(mark), true};
    }

    // `open` and `close` are the braces. Members are searched from quote to quote. False when
    // the object fails.
    bool ReadMembers(std::size_t open, std::size_t close, int depth)
    {
        // Every member's value text runs to the end of the object; trimming its end once here
        // keeps trailing white space from being rescanned for each member.
        const std::size_t trimmedEnd = TrimEnd(open + 1, close);
        std::size_t position = open + 1;
        std::size_t end = close;
        while (position < end) {
            const std::size_t nameOpen = FindUnescapedQuote(position, end);
            const std::size_t nameClose =
                nameOpen == kNotFound ? kNotFound : FindUnescapedQuote(nameOpen + 1, end);
            const std::size_t colon = nameClose == kNotFound ? kNotFound : Find(':', nameClose + 1, end);
            if (colon == kNotFound || nameClose == nameOpen + 1) {
                return false;
            }
            const std::size_t valueEnd = std::max(colon + 1, trimmedEnd);
            Parsed parsed = ParseValue(colon + 1, valueEnd, depth);
            if (parsed.failed) {
                return false;
            }
            mBuilder.AddMember(mText.substr(nameOpen + 1, nameClose - nameOpen - 1), std::move(parsed.value));
            position = parsed.rest;
            end = valueEnd;
        }
        return true;
    }

    // `open` and `close` are the brackets. Elements are cut at commas and brackets. False when
    // the array fails.
    bool ReadElements(std::size_t open, std::size_t close, int depth)
    {
        std::size_t position = SkipSpace(open + 1, close);
        const std::size_t end = TrimEnd(position, close);
        // The first separator at or after `position`; it stays valid while `position` has not
        // passed it, so a run of values before one bracket is searched only once.
        std::size_t separator = 0;
        bool separatorKnown = false;
        while (position < end) {
            if (!separatorKnown || position > separator) {
                separator = FindArraySeparator(position, end);
                separatorKnown = true;
            }
            Parsed parsed;
            std::size_t next = 0;
            if (separator < end && (mText[separator] == '[' || mText[separator] == '{')) {
                // A nested value: read it from the element's start, which may also be a string
                // that contains the bracket.
                parsed = ParseValue(position, end, depth);
                next = parsed.rest;
            } else {
                parsed = ParseValue(position, separator, depth);
                next = separator < end ? separator + 1 : end;
            }
            if (parsed.failed) {
                return false;
            }
            if (parsed.present) {
                mBuilder.AddElement(std::move(parsed.value));
            }
            position = next;
        }
        return true;
    }

    // `depth` is the depth of the object or array that holds the value.
    Parsed ParseValue(std::size_t begin, std::size_t end, int depth)
    {
        begin = SkipSpace(begin, end);
        end = TrimEnd(begin, end);
        if (begin == end) {
            return Parsed{Value(), false, false, end};
        }
        const char first = mText[begin];
        if (first == '[' || first == '{') {
            if (depth >= kMaximumDepth) {
                return Failure();
            }
            const std::size_t close = mMatcher.FindClose(begin, end);
            if (close == kNotFound) {
                return Failure();
            }
            Container inner =
                first == '[' ? ParseArray(begin, close, depth + 1) : ParseObject(begin, close, depth + 1);
            return Parsed{std::move(inner.value), inner.present, false, close + 1};
        }
        if (first == '"') {
            const std::size_t close = FindUnescapedQuote(begin + 1, end);
            if (close == kNotFound) {
                return Failure();
            }
            return Parsed{mBuilder.String(Unescape(begin + 1, close)), true, false, close + 1};
        }
        return ParseBareToken(begin, end);
    }

    // Runs to the next comma, dropping white space. "]" and "}" can never end up in a valid
    // token (nothing converts them), so they fail at once, like "[" and "{".
    Parsed ParseBareToken(std::size_t begin, std::size_t end)
    {
        mToken.clear();
        bool digitSeen = false;
        bool exponentSeen = false;
        bool pointSeen = false;
        std::size_t position = begin;
        for (; position < end && mText[position] != ','; ++position) {
            const char character = mText[position];
            if (IsJsonSpace(character)) {
                continue;
            }
            switch (character) {
            case '.':
                if (!digitSeen) {
                    return Failure();
                }
                pointSeen = true;
                break;
            case 'e':
            case 'E':
                // The "e" of true and false is a letter, not an exponent.
                if (!EqualsIgnoringCase(mToken, "tru") && !EqualsIgnoringCase(mToken, "fals")) {
                    if (!digitSeen || exponentSeen) {
                        return Failure();
                    }
                    exponentSeen = true;
                }
                break;
            case '[':
            case '{':
            case ']':
            case '}':
                return Failure();
            default:
                digitSeen = digitSeen || (character >= '0' && character <= '9');
                break;
            }
            mToken.push_back(character);
        }
        Parsed parsed = ClassifyToken(pointSeen || exponentSeen);
        parsed.rest = position;
        return parsed;
    }

    Parsed ClassifyToken(bool fractional) const
    {
        if (EqualsIgnoringCase(mToken, "true") || EqualsIgnoringCase(mToken, "false")) {
            return Parsed{mBuilder.Boolean(mToken.size() == 4), true, false, 0};
        }
        double number = 0.0;
        if (fractional) {
            return ReadDouble(number) ? Parsed{mBuilder.Float64(number), true, false, 0} : Failure();
        }
        if (EqualsIgnoringCase(mToken, "null")) {
            return Parsed{};
        }
        std::int64_t integer = 0;
        if (!ReadInteger(integer)) {
            return Failure();
        }
        if (integer >= std::numeric_limits<std::int32_t>::min() &&
            integer <= std::numeric_limits<std::int32_t>::max()) {
            return Parsed{mBuilder.Integer(static_cast<std::int32_t>(integer)), true, false, 0};
        }
        // Too wide for 32 bits: read again as a double, under the same rules.
        return ReadDouble(number) ? Parsed{mBuilder.Float64(number), true, false, 0} : Failure();
    }

    // The whole token as strtol in base 10 would read it; false when something is left over.
    // An empty token reads as 0 (nothing is left over). Values beyond 64 bits saturate, which
    // is enough to tell that they do not fit 32.
    bool ReadInteger(std::int64_t& integer) const
    {
        const char* const first = mToken.data();
        const char* const last = first + mToken.size();
        const char* digits = first + ((first != last && (*first == '+' || *first == '-')) ? 1 : 0);
        if (digits != last && last - digits <= 18 && std::all_of(digits, last, IsDigit)) {
            integer = 0;
            for (const char* digit = digits; digit != last; ++digit) {
                integer = integer * 10 + (*digit - '0');
            }
            integer = *first == '-' ? -integer : integer;
            return true;
        }
        char* stop = nullptr;
        integer = std::strtoll(first, &stop, 10);
        return stop == last;
    }

    // The whole token as strtod reads it; false when something is left over or the value is
    // out of range (overflow, or underflow to a denormal or zero).
    bool ReadDouble(double& number) const
    {
        const char* const first = mToken.data();
        const char* const last = first + mToken.size();
        // Plain decimal numbers take the exact, locale-free path; whatever it does not fully
        // and normally convert (hexadecimal, inf, nan, tiny or huge values) goes to strtod.
        const bool plain =
            first != last && (IsDigit(*first) || (*first == '-' && last - first > 1 && IsDigit(first[1])));
        if (plain) {
            const auto [stop, error] = Marrowgate::Core::ParseFloating(first, last, number);
            if (error == std::errc() && stop == last && (number == 0.0 || std::isnormal(number))) {
                return true;
            }
        }
        char* stop = nullptr;
        errno = 0;
        number = std::strtod(first, &stop);
        return stop == last && errno != ERANGE;
    }

    // A backslash hides the character after it, so an escaped quote is passed over. Reading
    // pairs from `from` on, a quote is hidden exactly when an odd run of backslashes (counted
    // back no further than `from`) stands before it.
    std::size_t FindUnescapedQuote(std::size_t from, std::size_t end) const
    {
        for (std::size_t quote = Find('"', from, end); quote != kNotFound;
             quote = Find('"', quote + 1, end)) {
            std::size_t backslash = quote;
            while (backslash > from && mText[backslash - 1] == '\\') {
                --backslash;
            }
            if ((quote - backslash) % 2 == 0) {
                return quote;
            }
        }
        return kNotFound;
    }

    std::size_t FindArraySeparator(std::size_t from, std::size_t end) const
    {
        for (std::size_t position = from; position < end; ++position) {
            const char character = mText[position];
            if (character == ',' || character == '[' || character == '{' || character == ']') {
                return position;
            }
        }
        return end;
    }

    std::size_t Find(char wanted, std::size_t from, std::size_t end) const
    {
        if (from >= end) {
            return kNotFound;
        }
        const void* found = std::memchr(mText.data() + from, wanted, end - from);
        return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - mText.data())
                                : kNotFound;
    }

    std::size_t SkipSpace(std::size_t from, std::size_t end) const
    {
        while (from < end && IsJsonSpace(mText[from])) {
            ++from;
        }
        return from;
    }

    std::size_t TrimEnd(std::size_t begin, std::size_t end) const
    {
        while (end > begin && IsJsonSpace(mText[end - 1])) {
            --end;
        }
        return end;
    }

    // The body of a string value, unescaped and then trimmed. The result lives in the text or
    // in mUnescaped, until the next call.
    std::string_view Unescape(std::size_t begin, std::size_t end)
    {
        const std::size_t firstBackslash = Find('\\', begin, end);
        if (firstBackslash == kNotFound) {
            begin = SkipSpace(begin, end);
            end = TrimEnd(begin, end);
            return mText.substr(begin, end - begin);
        }
        std::string& result = mUnescaped;
        result.clear();
        std::size_t position = begin;
        while (position < end) {
            const std::size_t backslash = Find('\\', position, end);
            const std::size_t runEnd = backslash == kNotFound ? end : backslash;
            result.append(mText.substr(position, runEnd - position));
            position = runEnd;
            if (position < end) {
                position = AppendEscape(result, position, end);
            }
        }
        const auto notSpace = [](char character) { return !IsJsonSpace(character); };
        const std::string_view unescaped = result;
        const auto first = std::find_if(unescaped.begin(), unescaped.end(), notSpace);
        const auto last = std::find_if(unescaped.rbegin(), unescaped.rend(), notSpace).base();
        return first < last ? unescaped.substr(static_cast<std::size_t>(first - unescaped.begin()),
                                               static_cast<std::size_t>(last - first))
                            : std::string_view();
    }

    // Appends what the escape at `backslash` stands for; returns where the text goes on.
    std::size_t AppendEscape(std::string& result, std::size_t backslash, std::size_t end) const
    {
        if (backslash + 1 == end) {
            result.push_back('\\');
            return end;
        }
        static constexpr std::array<std::pair<char, char>, 8> kSimpleEscapes{{
            {'"', '"'},
            {'/', '/'},
            {'\\', '\\'},
            {'b', '\b'},
            {'f', '\f'},
            {'n', '\n'},
            {'r', '\r'},
            {'t', '\t'},
        }};
        const char kind = mText[backslash + 1];
        for (const auto& [escape, meaning] : kSimpleEscapes) {
            if (kind == escape) {
                result.push_back(meaning);
                return backslash + 2;
            }
        }
        if (kind == 'u') {
            if (end - backslash < 6) {
                // Cut short by the end of the string: dropped, and nothing past the end is read.
                return end;
            }
            const std::string_view digits = mText.substr(backslash + 2, 4);
            if (std::all_of(digits.begin(), digits.end(), IsHexDigit)) {
                // Only the low byte survives; the reader keeps strings as bytes.
                result.push_back(static_cast<char>(HexValue(digits[2]) * 16 + HexValue(digits[3])));
                return backslash + 6;
            }
        }
        return backslash + 2;
    }

    static bool IsDigit(char character) { return character >= '0' && character <= '9'; }

    static bool IsHexDigit(char character)
    {
        return IsDigit(character) || (character >= 'a' && character <= 'f') ||
               (character >= 'A' && character <= 'F');
    }

    static int HexValue(char digit)
    {
        if (IsDigit(digit)) {
            return digit - '0';
        }
        return (digit | 0x20) - 'a' + 10;
    }

    static bool EqualsIgnoringCase(std::string_view text, std::string_view lowerCaseWord)
    {
        return text.size() == lowerCaseWord.size() &&
               std::equal(text.begin(), text.end(), lowerCaseWord.begin(),
                          [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a | 0x20 : a) == b; });
    }

    std::string_view mText;
    JsonBracketMatcher mMatcher;
    Builder mBuilder;
    std::string mToken;
    std::string mUnescaped;
};

} // namespace mgImplementation
