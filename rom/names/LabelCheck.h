#pragma once

#include "ItemNames.h"
#include "TableCsv.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rom {

// A label cell of a CSV table that names another code than the one beside
// it: most likely someone edited the label and not the code.
struct LabelDisagreement {
    CsvLabel cell;
    std::uint8_t namedCode = 0; // the code the label names
    std::string codeLabel;      // the label of the cell's code, in the names in use

    // "Line 14, column slot3_label: "2B: Iron Mace" names code 2B, but slot3
    // holds 2A ("2A: Moonstone Blade"), which is what is imported."
    [[nodiscard]] std::string message() const;
};

// Checks the labels of a CSV table about to be imported against its codes.
// The table may have been labelled with other item names than the ones in
// use (another names file), so only a label that surely names another code
// counts: one that starts with another code ("2B: ..." for items, "0x69:
// ..." for types), or, without a code in front, one that is the name or label
// of another code in the names in use and not of its own in those or the
// built-in names. A label that matches no name may come from another names
// file, and an empty one says nothing: neither disagrees. Nor does a label
// that names what the image holds in its place: the code was changed, and
// the label left as it was exported.
class LabelCheck {
public:
    // image: the table the CSV is imported into, as it is before.
    [[nodiscard]] static std::vector<LabelDisagreement> disagreements(const std::vector<CsvLabel> &labels,
                                                                      const ItemNames &names, const ShopTable &image);
};

} // namespace rom
