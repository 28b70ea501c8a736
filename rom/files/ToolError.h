#pragma once

#include "CsvError.h"
#include "FileError.h"
#include "NameTableError.h"
#include "NamesFileError.h"
#include "PatchError.h"
#include "RomError.h"
#include "SearchError.h"
#include "TableCheck.h"
#include "TableFileError.h"

#include <string>
#include <variant>

namespace rom {

// Why an operation of TableTools failed: the file at fault, as its caller
// named it (FilePath::text: the bytes given on POSIX systems, never
// decoded; UTF-8 on Windows), and the reason in the words of
// the part that found it, so that a caller can still tell, say, an image
// locked by the editor (RomError::InUse) from a bad CSV line.
struct ToolError {
    using Reason = std::variant<std::monostate, RomError, CsvError, PatchError, NamesFileError, FileError,
                                TableFileError, NameTableError, SearchError, TableDoubt>;

    std::string path;
    Reason reason;

    [[nodiscard]] bool ok() const { return std::holds_alternative<std::monostate>(reason); }
    // The reason for the user, without the path: "Line 7, column slot3: A code must be ...".
    [[nodiscard]] std::string reasonText() const;
};

} // namespace rom
