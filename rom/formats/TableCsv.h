#pragma once

#include "CsvError.h"
#include "ImageLayout.h"
#include "ShopRecord.h"

#include <array>
#include <cstdint>
#include <functional>
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

// The shop table as UTF-8 CSV, one row per shop: the columns shop (decimal),
// type and slot1-slot8 (two hexadecimal digits each), then a label column
// for each code. Reading needs only the ten code columns and ignores others.
class TableCsv {
public:
    // All 128 shops in order, quoted as RFC 4180 asks, with LF line ends.
    [[nodiscard]] static std::string write(const ShopTable &table, const CsvLabels &labels);

    // Checks the whole text first: on success, rows holds the shops given,
    // in file order; otherwise rows is left alone and the error says where.
    [[nodiscard]] static CsvError read(std::string_view text, std::vector<ShopRow> &rows);

    // The rows whose record differs from the one in table, in their order.
    [[nodiscard]] static std::vector<ShopRow> changedRows(const ShopTable &table, const std::vector<ShopRow> &rows);
};

} // namespace rom
