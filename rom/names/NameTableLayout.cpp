#include "NameTableLayout.h"

#include "HexDigits.h"
#include "ImageLayout.h"
#include "TextLines.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace rom {

namespace {

constexpr std::string_view kHexPrefix = "0x";
constexpr std::string_view kHexPrefixUpper = "0X";
constexpr std::string_view kSnesPrefix = "$";
// "D2:B300": the bank, a colon, the address in the bank.
constexpr std::size_t kBankDigits = 2;
constexpr std::size_t kInBankDigits = 4;

// What digitsValue makes of a value past 64 bits.
enum class Overflow {
    Saturate, // the largest value: a count that large is refused by its range anyway
    Refuse,   // nothing: an address cut to 64 bits would be another address
};

// The value of text in the given base; nothing unless text is one or more
// digits of that base.
std::optional<std::uint64_t> digitsValue(std::string_view text, int base, Overflow overflow)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
        const bool overflows = value > (most - std::uint64_t(digit)) / std::uint64_t(base);
        if (overflows && overflow == Overflow::Refuse)
            return std::nullopt;
        value = overflows ? most : value * std::uint64_t(base) + std::uint64_t(digit);
    }
    return value;
}

bool startsWithHexPrefix(std::string_view text)
{
    return text.starts_with(kHexPrefix) || text.starts_with(kHexPrefixUpper);
}

// The 24-bit SNES address of "$D2B300", "$D2:B300" or "D2:B300".
std::optional<std::uint32_t> snesAddress(std::string_view text)
{
    const bool dollar = text.starts_with(kSnesPrefix);
    if (dollar)
        text.remove_prefix(kSnesPrefix.size());
    const std::size_t colon = text.find(':');
    const bool bankAndAddress = colon == kBankDigits && text.size() == kBankDigits + 1 + kInBankDigits;
    if (!bankAndAddress && !(dollar && colon == std::string_view::npos && text.size() == kBankDigits + kInBankDigits))
        return std::nullopt;
    const auto bank = digitsValue(text.substr(0, kBankDigits), 16, Overflow::Refuse);
    const auto inBank = digitsValue(text.substr(text.size() - kInBankDigits), 16, Overflow::Refuse);
    if (!bank || !inBank)
        return std::nullopt;
    return std::uint32_t(*bank << 16 | *inBank);
}

} // namespace

std::vector<NameTableError> NameTableLayout::problems(std::uint64_t cartridgeSize) const
{
    std::vector<NameTableError> errors;
    using enum NameTableField;
    using enum NameTableProblem;
    const bool lengthFits = entryLength >= 1 && entryLength <= kMaxEntryLength;
    const bool codesFit = firstCode >= 0 && firstCode <= lastCode && lastCode <= kLastCode;
    if (start >= cartridgeSize)
        errors.push_back({.field = Address, .problem = AddressPastEnd, .value = start, .limit = cartridgeSize});
    else if (lengthFits && codesFit && std::uint64_t(count()) * std::uint64_t(entryLength) > cartridgeSize - start)
        errors.push_back({.field = Address, .problem = EntriesPastEnd, .value = start, .limit = cartridgeSize});
    if (!lengthFits)
        errors.push_back({.field = EntryLength, .problem = LengthOutOfRange,
                          .value = std::uint64_t(std::max(entryLength, 0)), .limit = kMaxEntryLength});
    if (skip < 0 || (lengthFits && skip >= entryLength))
        errors.push_back({.field = Skip, .problem = SkipNotBelowLength, .value = std::uint64_t(std::max(skip, 0)),
                          .limit = std::uint64_t(std::max(entryLength, 0))});
    if (!codesFit)
        errors.push_back({.field = Codes, .problem = CodesOutOfRange});
    return errors;
}

std::variant<std::uint64_t, NameTableError> NameTableLayout::parseAddress(std::string_view text)
{
    const std::string_view address = trimmedBlanks(text);
    NameTableError error{.field = NameTableField::Address, .text = std::string(address)};
    if (startsWithHexPrefix(address)) {
        if (const auto offset = digitsValue(address.substr(kHexPrefix.size()), 16, Overflow::Refuse))
            return *offset;
        return error;
    }
    const std::optional<std::uint32_t> snes = snesAddress(address);
    if (!snes)
        return error;
    if (const auto offset = cartridgeOffsetOfHiRom(*snes))
        return *offset;
    error.problem = NameTableProblem::AddressNotInMap;
    return error;
}

std::variant<int, NameTableError> NameTableLayout::parseNumber(std::string_view text, NameTableField field)
{
    const std::string_view number = trimmedBlanks(text);
    const bool hex = startsWithHexPrefix(number);
    const auto value = digitsValue(hex ? number.substr(kHexPrefix.size()) : number, hex ? 16 : 10,
                                   Overflow::Saturate);
    if (!value)
        return NameTableError{.field = field, .problem = NameTableProblem::NotANumber, .text = std::string(number)};
    return int(std::min<std::uint64_t>(*value, std::numeric_limits<int>::max()));
}

std::variant<std::pair<int, int>, NameTableError> NameTableLayout::parseCodes(std::string_view text)
{
    const std::string_view codes = trimmedBlanks(text);
    const std::size_t dash = codes.find('-');
    const auto first = twoHexDigits(trimmedBlanks(codes.substr(0, dash)));
    const auto last = dash == std::string_view::npos ? std::nullopt : twoHexDigits(trimmedBlanks(codes.substr(dash + 1)));
    if (!first || !last)
        return NameTableError{.field = NameTableField::Codes, .problem = NameTableProblem::CodesNotUnderstood,
                              .text = std::string(codes)};
    return std::pair<int, int>(*first, *last);
}

} // namespace rom
