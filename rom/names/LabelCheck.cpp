#include "LabelCheck.h"

#include "HexDigits.h"
#include "ShopTypeLabels.h"
#include "TextLines.h"

#include <optional>

namespace rom {

namespace {

// Type codes without a label of their own are labelled "0x69: Unknown".
constexpr std::string_view kTypeCodePrefix = "0x";

// The code in front of a label ("2B: ..." or, for a type, "0x69: ..."), if it has one.
std::optional<std::uint8_t> codeInFront(std::string_view text, bool ofType)
{
    if (ofType) {
        if (!text.starts_with(kTypeCodePrefix))
            return std::nullopt;
        text.remove_prefix(kTypeCodePrefix.size());
    }
    if (text.size() < 3 || text[2] != ':')
        return std::nullopt;
    return twoHexDigits(text.substr(0, 2));
}

std::string ownLabel(const CsvLabel &cell, const ItemNames &names)
{
    return cell.ofType() ? ShopTypeLabels::text(cell.code) : std::string(names.label(cell.code));
}

// Whether text is what some set of names calls code: its label, or for an item its name alone.
bool calls(std::string_view text, int code, bool ofType, const ItemNames &names)
{
    if (ofType)
        return code < ShopTypeLabels::kCount && text == ShopTypeLabels::label(code);
    return text == names.label(code) || text == names.name(code);
}

// The code that text, without a code in front, names in the names in use, if
// it is not its own code's in those or the built-in names.
std::optional<std::uint8_t> otherCodeNamed(std::string_view text, const CsvLabel &cell, const ItemNames &names)
{
    if (calls(text, cell.code, cell.ofType(), names) || calls(text, cell.code, cell.ofType(), ItemNames()))
        return std::nullopt;
    const int codes = cell.ofType() ? ShopTypeLabels::kCount : ItemNames::kCount;
    for (int code = 0; code < codes; ++code)
        if (calls(text, code, cell.ofType(), names))
            return std::uint8_t(code);
    return std::nullopt;
}

} // namespace

std::string LabelDisagreement::message() const
{
    return "Line " + std::to_string(cell.line) + ", column " + std::string(cell.column) + ": \"" + cell.text +
           "\" names code " + hexByte(namedCode) + ", but " + std::string(cell.codeColumn) + " holds " +
           hexByte(cell.code) + " (\"" + codeLabel + "\"), which is what is imported.";
}

std::vector<LabelDisagreement> LabelCheck::disagreements(const std::vector<CsvLabel> &labels, const ItemNames &names,
                                                         const ShopTable &image)
{
    std::vector<LabelDisagreement> found;
    for (const CsvLabel &cell : labels) {
        // Blanks a spreadsheet or an editor may leave around the cell's text.
        const std::string_view text = trimmedBlanks(cell.text);
        std::optional<std::uint8_t> named = codeInFront(text, cell.ofType());
        if (!named)
            named = otherCodeNamed(text, cell, names);
        const std::uint8_t before = image[std::size_t(cell.shop)].toBytes()[cell.byte];
        if (named && *named != cell.code && *named != before)
            found.push_back({cell, *named, ownLabel(cell, names)});
    }
    return found;
}

} // namespace rom
