#include "TableCsv.h"

#include "AddressText.h"
#include "CsvReader.h"
#include "HexDigits.h"

#include <bitset>

namespace rom {

namespace {

// The columns that carry the table, in the order they are written.
constexpr std::array<std::string_view, 2 + ShopRecord::kSlotCount> kCodeColumns = {
    "shop", "type", "slot1", "slot2", "slot3", "slot4", "slot5", "slot6", "slot7", "slot8"};
// Their label columns, each the code column's name with "_label" added.
constexpr std::array<std::string_view, 1 + ShopRecord::kSlotCount> kLabelColumns = {
    "type_label", "slot1_label", "slot2_label", "slot3_label", "slot4_label",
    "slot5_label", "slot6_label", "slot7_label", "slot8_label"};
// Where each shop lies, written on request after the code columns; reading ignores them.
constexpr std::string_view kAddressColumns = "snes_address,file_offset";
constexpr int kShopColumn = 0;
constexpr int kTypeColumn = 1;
constexpr int kFirstSlotColumn = 2;
// A header field's role: a code column's index, or that index plus this for its label column.
constexpr int kLabelRole = int(kCodeColumns.size());
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

// One hex digit alone is most often a code whose leading zero a spreadsheet dropped.
CsvProblem parseCode(std::string_view text, std::uint8_t &code)
{
    const std::optional<std::uint8_t> parsed = twoHexDigits(text);
    code = parsed.value_or(0);
    if (parsed)
        return CsvProblem::None;
    return text.size() == 1 && hexDigitValue(text[0]) >= 0 ? CsvProblem::ShortCode : CsvProblem::BadCode;
}

// The error at field index of record, named after its header column if there is one.
CsvError errorAt(CsvProblem problem, int line, std::size_t index, const CsvRecord &header)
{
    std::string column = index < header.size() ? header[index].text : std::string();
    return CsvError{problem, line, int(index) + 1, std::move(column)};
}

int roleOf(std::string_view name)
{
    for (std::size_t role = 0; role < kCodeColumns.size(); ++role)
        if (name == kCodeColumns[role])
            return int(role);
    for (std::size_t label = 0; label < kLabelColumns.size(); ++label)
        if (name == kLabelColumns[label])
            return kLabelRole + kTypeColumn + int(label);
    return kNotACodeColumn;
}

// For each header field, which code or label column it is, or kNotACodeColumn.
CsvError mapColumns(const CsvRecord &header, std::vector<int> &roles)
{
    roles.assign(header.size(), kNotACodeColumn);
    std::bitset<2 * kCodeColumns.size()> found;
    for (std::size_t index = 0; index < header.size(); ++index) {
        const int role = roleOf(header[index].text);
        // A label column given twice is read once, as any other column is ignored.
        if (role == kNotACodeColumn || (role >= kLabelRole && found[std::size_t(role)]))
            continue;
        if (found[std::size_t(role)])
            return errorAt(CsvProblem::RepeatedColumn, header[index].line, index, header);
        found.set(std::size_t(role));
        roles[index] = role;
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
        CsvProblem problem = CsvProblem::None;
        if (role == kShopColumn)
            problem = parseShop(text, row.shop) ? CsvProblem::None : CsvProblem::BadShop;
        else if (role == kTypeColumn)
            problem = parseCode(text, row.record.type);
        else if (role >= kFirstSlotColumn && role < kLabelRole)
            problem = parseCode(text, row.record.items[std::size_t(role - kFirstSlotColumn)]);
        if (problem != CsvProblem::None)
            return errorAt(problem, record[index].line, index, header);
    }
    return {};
}

// The row's non-empty label cells, with the codes they label.
void collectLabels(const CsvRecord &record, const std::vector<int> &roles, const ShopRow &row,
                   std::vector<CsvLabel> &labels)
{
    const ShopRecord::Bytes codes = row.record.toBytes();
    for (std::size_t index = 0; index < record.size(); ++index) {
        const int codeRole = roles[index] - kLabelRole;
        if (codeRole < kTypeColumn || record[index].text.empty())
            continue;
        const auto byte = std::size_t(codeRole - kTypeColumn);
        labels.push_back({record[index].line, kLabelColumns[byte], kCodeColumns[std::size_t(codeRole)], row.shop,
                          byte, codes[byte], record[index].text});
    }
}

std::size_t shopField(const std::vector<int> &roles)
{
    std::size_t index = 0;
    while (roles[index] != kShopColumn)
        ++index;
    return index;
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

std::string headerLine(const CsvColumns &columns)
{
    std::string line(kCodeColumns.front());
    for (std::size_t role = kTypeColumn; role < kCodeColumns.size(); ++role)
        line.append(",").append(kCodeColumns[role]);
    if (columns.addresses)
        line.append(",").append(kAddressColumns);
    for (std::size_t label = 0; columns.labels && label < kLabelColumns.size(); ++label)
        line.append(",").append(kLabelColumns[label]);
    return line + "\n";
}

std::string labelOf(const std::function<std::string(std::uint8_t)> &label, std::uint8_t code)
{
    return label ? label(code) : std::string();
}

void appendRow(std::string &text, int shop, const ShopRecord &record, const CsvLabels &labels,
               const CsvColumns &columns)
{
    text += std::to_string(shop);
    for (const std::uint8_t code : record.toBytes()) {
        text += ',';
        appendHexByte(text, code);
    }
    if (columns.addresses) {
        const std::uint64_t offset = kShopTableOffset + std::uint64_t(shop) * kShopRecordSize;
        text += "," + AddressText::snes(hiRomAddress(offset).value_or(0)) + "," +
                AddressText::offset(fileOffset(*columns.addresses, offset));
    }
    if (columns.labels) {
        text += ',';
        appendField(text, labelOf(labels.type, record.type));
        for (const std::uint8_t item : record.items) {
            text += ',';
            appendField(text, labelOf(labels.item, item));
        }
    }
    text += '\n';
}

} // namespace

std::string TableCsv::write(const ShopTable &table, const CsvLabels &labels, const CsvColumns &columns)
{
    std::string text = headerLine(columns);
    for (int shop = 0; shop < kShopCount; ++shop)
        appendRow(text, shop, table[std::size_t(shop)], labels, columns);
    return text;
}

CsvError TableCsv::read(std::string_view text, std::vector<ShopRow> &rows)
{
    std::vector<CsvLabel> labels;
    return read(text, rows, labels);
}

CsvError TableCsv::read(std::string_view text, std::vector<ShopRow> &rows, std::vector<CsvLabel> &labels)
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
    std::vector<CsvLabel> cells;
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
        collectLabels(record, roles, row, cells);
    }
    if (const CsvError &error = reader.error(); !error.ok())
        return errorAt(error.problem, error.line, std::size_t(error.field - 1), header);
    rows = std::move(parsed);
    labels = std::move(cells);
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
