#include "TableCsv.h"

#include "HexDigits.h"

#include "CsvReader.h"

#include <bitset>

namespace rom {

namespace {

// The columns that carry the table, in the order they are written.
constexpr std::array<std::string_view, 2 + ShopRecord::kSlotCount> kCodeColumns = {
    "shop", "type", "slot1", "slot2", "slot3", "slot4", "slot5", "slot6", "slot7", "slot8"};
constexpr int kShopColumn = 0;
constexpr int kTypeColumn = 1;
constexpr int kFirstSlotColumn = 2;
// Added to a code column's name to name its label column.
constexpr std::string_view kLabelSuffix = "_label";
constexpr int kNotACodeColumn = -1;

// Decimal 0-127; the length bound keeps the arithmetic small.
bool parseShop(std::string_view text, int &shop)
{
    if (text.empty() || text.size() > 3)
        return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    shop = value;
    return value < kShopCount;
}

bool parseCode(std::string_view text, std::uint8_t &code)
{
    const std::optional<std::uint8_t> parsed = twoHexDigits(text);
    code = parsed.value_or(0);
    return parsed.has_value();
}

// The error at field index of record, named after its header column if there is one.
CsvError errorAt(CsvProblem problem, int line, std::size_t index, const CsvRecord &header)
{
    std::string column = index < header.size() ? header[index].text : std::string();
    return CsvError{problem, line, int(index) + 1, std::move(column)};
}

// For each header field, which code column it is, or kNotACodeColumn.
CsvError mapColumns(const CsvRecord &header, std::vector<int> &roles)
{
    roles.assign(header.size(), kNotACodeColumn);
    std::bitset<kCodeColumns.size()> found;
    for (std::size_t index = 0; index < header.size(); ++index) {
        for (std::size_t role = 0; role < kCodeColumns.size(); ++role) {
            if (header[index].text != kCodeColumns[role])
                continue;
            if (found[role])
                return errorAt(CsvProblem::RepeatedColumn, header[index].line, index, header);
            found.set(role);
            roles[index] = int(role);
        }
    }
    for (std::size_t role = 0; role < kCodeColumns.size(); ++role)
        if (!found[role])
            return CsvError{CsvProblem::MissingColumn, header.front().line, 0, std::string(kCodeColumns[role])};
    return {};
}

CsvError checkFieldCount(const CsvRecord &record, const CsvRecord &header)
{
    if (record.size() > header.size())
        return errorAt(CsvProblem::FieldCount, record[header.size()].line, header.size(), header);
    if (record.size() < header.size())
        return errorAt(CsvProblem::FieldCount, record.back().line, record.size(), header);
    return {};
}

CsvError parseRow(const CsvRecord &record, const CsvRecord &header, const std::vector<int> &roles, ShopRow &row)
{
    if (CsvError error = checkFieldCount(record, header); !error.ok())
        return error;
    for (std::size_t index = 0; index < record.size(); ++index) {
        const std::string_view text = record[index].text;
        const int role = roles[index];
        bool good = true;
        if (role == kShopColumn)
            good = parseShop(text, row.shop);
        else if (role == kTypeColumn)
            good = parseCode(text, row.record.type);
        else if (role >= kFirstSlotColumn)
            good = parseCode(text, row.record.items[std::size_t(role - kFirstSlotColumn)]);
        if (!good) {
            const auto problem = role == kShopColumn ? CsvProblem::BadShop : CsvProblem::BadCode;
            return errorAt(problem, record[index].line, index, header);
        }
    }
    return {};
}

std::size_t shopField(const std::vector<int> &roles)
{
    std::size_t index = 0;
    while (roles[index] != kShopColumn)
        ++index;
    return index;
}

void appendHex(std::string &text, std::uint8_t code)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    text += kDigits[code >> 4];
    text += kDigits[code & 0x0F];
}

// RFC 4180: a field holding a comma, quote mark or line end goes in quotes,
// with its quote marks doubled.
void appendField(std::string &text, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        text += field;
        return;
    }
    text += '"';
    for (const char c : field) {
        if (c == '"')
            text += '"';
        text += c;
    }
    text += '"';
}

std::string headerLine()
{
    std::string line;
    for (const std::string_view name : kCodeColumns)
        line.append(name).append(",");
    for (std::size_t role = kTypeColumn; role < kCodeColumns.size(); ++role)
        line.append(kCodeColumns[role]).append(kLabelSuffix).append(role + 1 < kCodeColumns.size() ? "," : "\n");
    return line;
}

std::string labelOf(const std::function<std::string(std::uint8_t)> &label, std::uint8_t code)
{
    return label ? label(code) : std::string();
}

void appendRow(std::string &text, int shop, const ShopRecord &record, const CsvLabels &labels)
{
    text += std::to_string(shop);
    const ShopRecord::Bytes codes = record.toBytes();
    for (const std::uint8_t code : codes) {
        text += ',';
        appendHex(text, code);
    }
    text += ',';
    appendField(text, labelOf(labels.type, record.type));
    for (const std::uint8_t item : record.items) {
        text += ',';
        appendField(text, labelOf(labels.item, item));
    }
    text += '\n';
}

} // namespace

std::string TableCsv::write(const ShopTable &table, const CsvLabels &labels)
{
    std::string text = headerLine();
    for (int shop = 0; shop < kShopCount; ++shop)
        appendRow(text, shop, table[std::size_t(shop)], labels);
    return text;
}

CsvError TableCsv::read(std::string_view text, std::vector<ShopRow> &rows)
{
    CsvReader reader(text);
    CsvRecord header;
    if (!reader.next(header))
        return reader.error().ok() ? CsvError{CsvProblem::NoHeader, 1, 0, {}} : reader.error();
    std::vector<int> roles;
    if (CsvError error = mapColumns(header, roles); !error.ok())
        return error;

    const std::size_t shopIndex = shopField(roles);
    std::vector<ShopRow> parsed;
    std::bitset<kShopCount> seen;
    CsvRecord record;
    while (reader.next(record)) {
        ShopRow row;
        if (CsvError error = parseRow(record, header, roles, row); !error.ok())
            return error;
        if (seen[std::size_t(row.shop)])
            return errorAt(CsvProblem::RepeatedShop, record[shopIndex].line, shopIndex, header);
        seen.set(std::size_t(row.shop));
        parsed.push_back(row);
    }
    if (const CsvError &error = reader.error(); !error.ok())
        return errorAt(error.problem, error.line, std::size_t(error.field - 1), header);
    rows = std::move(parsed);
    return {};
}

std::vector<ShopRow> TableCsv::changedRows(const ShopTable &table, const std::vector<ShopRow> &rows)
{
    std::vector<ShopRow> changed;
    for (const ShopRow &row : rows)
        if (table[std::size_t(row.shop)] != row.record)
            changed.push_back(row);
    return changed;
}

} // namespace rom
