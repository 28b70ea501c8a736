#include "NameCommands.h"

#include "AddressText.h"
#include "HexDigits.h"
#include "NameTools.h"
#include "TableCommands.h"


namespace cli {

namespace {

using rom::hexByte;
using rom::NameTools;
using rom::ToolError;

// "$C3:A400, cartridge 0x3A400, file 0x3A600: entries of 16 bytes, skip 1, end byte 00, codes 00-FE"
std::string describe(const rom::NameTablePlacement &placement, rom::ImageLayout layout)
{
    const rom::NameTableLayout &table = placement.layout;
    std::string text = rom::AddressText::place(table.start, layout) + ": entries of " +
                       std::to_string(table.entryLength) + " bytes, skip " + std::to_string(table.skip);
    if (placement.endByte)
        text.append(", end byte ").append(hexByte(*placement.endByte));
    return text + ", codes " + hexByte(table.firstCode) + "-" + hexByte(table.lastCode);
}

std::string placesText(const rom::SearchResult &result, rom::ImageLayout layout)
{
    const int shown = int(result.placements.size());
    const std::string found = std::to_string(result.found) + (result.more ? " or more" : "");
    std::string text = result.found == 1 ? "1 place fits the names:\n"
                       : result.found == shown
                           ? found + " places fit the names, the likeliest first:\n"
                           : found + " places fit the names (longer names would fit fewer); the likeliest " +
                                 std::to_string(shown) + ":\n";
    for (const rom::NameTablePlacement &placement : result.placements) {
        text += describe(placement, layout) + "\n";
        const rom::DecodedNames &names = placement.preview;
        for (int code = names.firstCode(); code <= names.lastCode(); ++code)
            text.append("  ").append(hexByte(code)).append(": ").append(names.name(code).text).append("\n");
    }
    return text;
}

std::string tableFileText(const CommandLine &line, const rom::NameTablePlacement &placement, rom::ImageLayout layout)
{
    std::string text = "# Learnt by relative search from";
    for (const rom::KnownName &known : line.knownNames())
        text.append(" ").append(hexByte(known.code)).append("=").append(known.name);
    return text + "\n# " + describe(placement, layout) + "\n" + placement.table.toText();
}

} // namespace

int NameCommands::names(const CommandLine &line)
{
    rom::TableFile table;
    if (const ToolError error = NameTools::readTableFile(line.tableFile(), table); !error.ok())
        return TableCommands::fail(error);
    const std::string &path = line.files().at(0);
    rom::CartridgeBytes cartridge;
    rom::ImageLayout layout{};
    rom::DecodedNames names;
    if (const ToolError error = NameTools::readCartridge(path, cartridge, layout); !error.ok())
        return TableCommands::fail(error);
    const rom::NameTable nameTable(line.nameTable(), table);
    if (const ToolError error = NameTools::decodeNames(path, cartridge, nameTable, names); !error.ok())
        return TableCommands::fail(error);
    if (table.skippedTotal() > 0)
        TableCommands::warn(line.tableFile(), table.skippedSummary());
    if (names.mostlyUnmapped())
        TableCommands::warn(path, "more than half of the bytes read have no entry in the table file and show as [HH]; "
                   "check the address, the entry length and the table file");
    return TableCommands::print(names.namesFileText());
}

int NameCommands::findNames(const CommandLine &line)
{
    const std::string &path = line.files().at(0);
    rom::CartridgeBytes cartridge;
    rom::ImageLayout layout{};
    rom::SearchResult result;
    if (const ToolError error = NameTools::readCartridge(path, cartridge, layout); !error.ok())
        return TableCommands::fail(error);
    if (const ToolError error = NameTools::findNames(path, cartridge, line.knownNames(), result); !error.ok())
        return TableCommands::fail(error);
    if (!line.output().empty()) {
        const std::string text = tableFileText(line, result.placements.front(), layout);
        const std::span bytes(reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
        if (const ToolError error = rom::TableTools::writeOutput(line.output(), bytes, {path}); !error.ok())
            return TableCommands::fail(error);
    }
    return line.quiet() ? kSuccess : TableCommands::print(placesText(result, layout));
}

} // namespace cli
