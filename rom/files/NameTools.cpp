#include "NameTools.h"

#include "PlainFile.h"
#include "RomFile.h"
#include "TableTools.h"

#include <utility>

namespace rom {

ToolError NameTools::readTableFile(const FilePath &path, TableFile &table)
{
    std::string text;
    if (const FileError error = PlainFile::read(path, TableTools::kMaxTextFileSize, text); !error.ok())
        return ToolError{path.text(), error};
    auto parsed = TableFile::parse(text);
    if (auto *error = std::get_if<TableFileError>(&parsed))
        return ToolError{path.text(), std::move(*error)};
    table = std::get<TableFile>(std::move(parsed));
    return {};
}

ToolError NameTools::readCartridge(const FilePath &path, CartridgeBytes &cartridge, ImageLayout &layout)
{
    RomFile image;
    if (ToolError error = TableTools::open(image, path, Access::ReadOnly); !error.ok())
        return error;
    if (const RomError error = image.readCartridge(cartridge); error != RomError::None)
        return ToolError{path.text(), error};
    layout = image.layout();
    return {};
}

ToolError NameTools::decodeNames(const FilePath &imagePath, std::span<const std::uint8_t> cartridge,
                                 const NameTable &nameTable, DecodedNames &names)
{
    const std::vector<NameTableError> problems = nameTable.layout().problems(cartridge.size());
    if (!problems.empty())
        return ToolError{imagePath.text(), problems.front()};
    names = nameTable.decode(cartridge);
    return {};
}

ToolError NameTools::findNames(const FilePath &imagePath, std::span<const std::uint8_t> cartridge,
                               const std::vector<KnownName> &known, SearchResult &result)
{
    auto found = RelativeSearch::find(cartridge, known);
    if (auto *error = std::get_if<SearchError>(&found))
        return ToolError{imagePath.text(), std::move(*error)};
    result = std::get<SearchResult>(std::move(found));
    return {};
}

} // namespace rom
