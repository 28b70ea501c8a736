#pragma once

#include "CsvError.h"
#include "ImageLayout.h"
#include "ShopRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rom {

// One shop as given in a CSV row.
struct ShopRow {
    int shop = 0;
    ShopRecord record;

    friend bool operator==(const ShopRow &, const ShopRow &) = default;
};

// Texts for the label columns of an exported table. The caller chooses them,
// since item names may be the user's own and type codes above 0x35 have no
// built-in label. An unset function leaves its columns empty.
struct CsvLabels {
    std::function<std::string(std::uint8_t code)> type;
    std::function<std::string(std::uint8_t code)> item;
};

// Which columns an exported table has besides the ten code columns.
struct CsvColumns {
    bool labels = true; // type_label and slot1_label-slot8_label
    // snes_address and file_offset, where each shop lies in an image of this
    // layout ("$C4:7B2C", "0x47D2C"); none when not set.
    std::optional<ImageLayout> addresses;
};

// A label cell of a CSV row as read, to be checked against the code it
// labels: where it lies, that code, and its text. Empty cells are not kept.
struct CsvLabel {
    int line = 0;                // physical line of the field, from 1
    std::string_view column;     // "slot3_label"
    std::string_view codeColumn; // "slot3"
    int shop = 0;
    std::size_t byte = 0;        // which of the shop's nine bytes it labels: 0 the type, 1-8 the slots
    std::uint8_t code = 0;       // that byte as the row gives it
    std::string text;

    [[nodiscard]] bool ofType() const { return byte == 0; }
    friend bool operator==(const CsvLabel &, const CsvLabel &) = default;
};

// The shop table as UTF-8 CSV, one row per shop: the columns shop (decimal),
// type and slot1-slot8 (two hexadecimal digits each), then a label column
// for each code. Reading needs only the ten code columns and ignores others.
class TableCsv {
public:
    // All 128 shops in order, quoted as RFC 4180 asks, with LF line ends.
    [[nodiscard]] static std::string write(const ShopTable &table, const CsvLabels &labels,
                                           const CsvColumns &columns = {});

    // Checks the whole text first: on success, rows holds the shops given,
    // in file order; otherwise rows is left alone and the error says where.
    [[nodiscard]] static CsvError read(std::string_view text, std::vector<ShopRow> &rows);
    // As above, and labels holds the non-empty cells of the label columns
    // (those named after a code column with "_label"), row by row.
    [[nodiscard]] static CsvError read(std::string_view text, std::vector<ShopRow> &rows,
                                       std::vector<CsvLabel> &labels);

    // The rows whose record differs from the one in table, in their order.
    [[nodiscard]] static std::vector<ShopRow> changedRows(const ShopTable &table, const std::vector<ShopRow> &rows);
};

} // namespace rom
