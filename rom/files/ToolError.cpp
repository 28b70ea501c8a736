#include "ToolError.h"

namespace rom {

namespace {

struct ReasonText {
    std::string operator()(std::monostate) const { return "No error."; }
    std::string operator()(RomError error) const { return std::string(describe(error)); }
    std::string operator()(const CsvError &error) const { return error.message(); }
    std::string operator()(PatchError error) const { return std::string(describe(error)); }
    std::string operator()(const NamesFileError &error) const { return error.message(); }
    std::string operator()(const FileError &error) const { return error.message(); }
    std::string operator()(const TableFileError &error) const { return error.message(); }
    std::string operator()(const NameTableError &error) const { return error.message(); }
    std::string operator()(const SearchError &error) const { return error.message(); }
    std::string operator()(const TableDoubt &doubt) const { return doubt.message(); }
};

} // namespace

std::string ToolError::reasonText() const { return std::visit(ReasonText{}, reason); }

} // namespace rom
