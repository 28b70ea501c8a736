#include "TableCommands.h"

#include "NameCommands.h"
#include "TableTools.h"
#include "Version.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace cli {

namespace {

using rom::TableTools;
using rom::ToolError;

std::string hexWord(std::uint16_t value)
{
    char text[5];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

std::string hexBytes(const rom::ShopRecord &record)
{
    std::string text;
    for (const std::uint8_t byte : record.toBytes()) {
        char hex[4];
        std::snprintf(hex, sizeof hex, text.empty() ? "%02X" : " %02X", byte);
        text += hex;
    }
    return text;
}

std::string shopCount(int count) { return std::to_string(count) + (count == 1 ? " shop" : " shops"); }

std::span<const std::uint8_t> bytesOf(const std::string &text)
{
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

ToolError closeImage(rom::RomFile &image)
{
    const std::string path = image.path();
    const rom::RomError error = image.close();
    return error == rom::RomError::None ? ToolError{} : ToolError{path, error};
}

} // namespace

int TableCommands::run(const CommandLine &line)
{
    switch (line.command()) {
    case Command::Help: return print(CommandLine::helpText());
    case Command::Version: return print("shop-table " + std::string(version::kText) + "\n");
    case Command::Export: return exportTable(line);
    case Command::Import: return importTable(line);
    case Command::Diff: return diffTables(line);
    case Command::Patch: return makePatch(line);
    case Command::Checksum: return checksum(line);
    case Command::Names: return NameCommands::names(line);
    case Command::FindNames: return NameCommands::findNames(line);
    }
    return kUsage;
}

int TableCommands::exportTable(const CommandLine &line)
{
    rom::ItemNames names;
    if (!line.itemNames().empty())
        if (const ToolError error = TableTools::readItemNames(line.itemNames(), names); !error.ok())
            return fail(error);
    const std::string &path = line.files().at(0);
    rom::RomFile image;
    std::string csv;
    if (const ToolError error = TableTools::open(image, path, rom::Access::ReadOnly); !error.ok())
        return fail(error);
    if (const ToolError error = TableTools::exportCsv(image, names, csv); !error.ok())
        return fail(error);
    (void)image.close(); // read only: nothing to flush
    if (line.output().empty())
        return print(csv);
    if (const ToolError error = TableTools::writeOutput(line.output(), bytesOf(csv), {path}); !error.ok())
        return fail(error);
    return kSuccess;
}

int TableCommands::importTable(const CommandLine &line)
{
    const std::string &path = line.files().at(0);
    std::vector<rom::ShopRow> rows;
    if (const ToolError error = TableTools::readCsv(line.files().at(1), rows); !error.ok())
        return fail(error);
    rom::RomFile image;
    if (const ToolError error = TableTools::open(image, path, rom::Access::ReadWrite); !error.ok())
        return fail(error);
    int changed = 0;
    if (const ToolError error = TableTools::importRows(image, rows, changed); !error.ok()) {
        (void)image.close();
        if (changed > 0)
            std::fprintf(stderr, "shop-table: %s had been written to %s before this error:\n",
                         shopCount(changed).c_str(), path.c_str());
        return fail(error);
    }
    if (const ToolError error = closeImage(image); !error.ok())
        return fail(error);
    return print(shopCount(changed) + " changed in " + path + "\n");
}

int TableCommands::diffTables(const CommandLine &line)
{
    rom::ShopTable first;
    rom::ShopTable second;
    if (const ToolError error = TableTools::readTable(line.files().at(0), first); !error.ok())
        return fail(error);
    if (const ToolError error = TableTools::readTable(line.files().at(1), second); !error.ok())
        return fail(error);
    std::string lines;
    for (int shop = 0; shop < rom::kShopCount; ++shop) {
        const rom::ShopRecord &a = first[std::size_t(shop)];
        const rom::ShopRecord &b = second[std::size_t(shop)];
        if (a != b)
            lines += "shop " + std::to_string(shop) + ": " + hexBytes(a) + " -> " + hexBytes(b) + "\n";
    }
    if (const int status = print(lines); status != kSuccess)
        return status;
    return lines.empty() ? kSuccess : kFailure;
}

int TableCommands::makePatch(const CommandLine &line)
{
    const std::string &clean = line.files().at(0);
    const std::string &modified = line.files().at(1);
    std::vector<std::uint8_t> patch;
    if (const ToolError error = TableTools::makePatch(clean, modified, line.patchFormat(), patch); !error.ok())
        return fail(error);
    if (const ToolError error = TableTools::writeOutput(line.output(), patch, {clean, modified}); !error.ok())
        return fail(error);
    return kSuccess;
}

int TableCommands::checksum(const CommandLine &line)
{
    rom::RomFile image;
    const auto access = line.fix() ? rom::Access::ReadWrite : rom::Access::ReadOnly;
    std::optional<rom::CartridgeChecksum> sum;
    if (const ToolError error = TableTools::open(image, line.files().at(0), access); !error.ok())
        return fail(error);
    if (const ToolError error = TableTools::checksum(image, sum); !error.ok())
        return fail(error);
    std::string report = "stored checksum: " + hexWord(sum->storedChecksum()) + "\n" +
                         "stored complement: " + hexWord(sum->storedComplement()) + "\n" +
                         "computed checksum: " + hexWord(sum->computed()) + "\n" +
                         (sum->isValid() ? "valid\n" : "not valid\n");
    bool written = false;
    if (line.fix())
        if (const ToolError error = TableTools::fixChecksum(image, *sum, written); !error.ok())
            return fail(error);
    if (const ToolError error = closeImage(image); !error.ok())
        return fail(error);
    if (written)
        report += "fixed: checksum " + hexWord(sum->computed()) + " and complement " +
                  hexWord(std::uint16_t(~sum->computed())) + " written to " + line.files().at(0) + "\n";
    return print(report);
}

int TableCommands::fail(const ToolError &error)
{
    std::fprintf(stderr, "shop-table: %s: %s\n", error.path.c_str(), error.reasonText().c_str());
    return kFailure;
}

int TableCommands::print(const std::string &text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (written && std::fflush(stdout) == 0)
        return kSuccess;
    std::fprintf(stderr, "shop-table: standard output: %s\n", std::strerror(errno));
    return kFailure;
}

} // namespace cli
