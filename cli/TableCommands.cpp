#include "TableCommands.h"

#include "LabelCheck.h"
#include "NameCommands.h"
#include "ShopListText.h"
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

std::string shopCount(std::size_t count) { return std::to_string(count) + (count == 1 ? " shop" : " shops"); }

// "3 shops changed in build.smc: 3, 4 and 12"
std::string changedText(const std::vector<int> &shops, const std::string &path)
{
    const std::string listed = rom::ShopListText::of(shops);
    return shopCount(shops.size()) + " changed in " + path + (listed.empty() ? "" : ": " + listed) + "\n";
}

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
    if (const int status = readItemNames(line, names); status != kSuccess)
        return status;
    const std::string &path = line.files().at(0);
    rom::RomFile image;
    std::string csv;
    const rom::ExportOptions options{.labels = line.labels(), .addresses = line.addresses()};
    if (const ToolError error = TableTools::open(image, path, rom::Access::ReadOnly); !error.ok())
        return fail(error);
    if (const ToolError error = TableTools::exportCsv(image, names, options, csv); !error.ok())
        return fail(error);
    (void)image.close(); // read only: nothing to flush
    if (line.output().empty())
        return print(csv);
    if (const ToolError error = TableTools::writeOutput(line.output(), bytesOf(csv), {path}); !error.ok())
        return fail(error);
    return kSuccess;
}

// Checks the CSV whole before the image is opened, and the image's table
// before anything is written to it.
int TableCommands::importTable(const CommandLine &line)
{
    const std::string &path = line.files().at(0);
    const std::string &csvPath = line.files().at(1);
    rom::ImportOptions options{.force = line.force(), .names = {}};
    rom::CsvTable table;
    if (const int status = readItemNames(line, options.names); status != kSuccess)
        return status;
    if (const ToolError error = TableTools::readCsv(csvPath, table); !error.ok())
        return fail(error);
    rom::RomFile image;
    if (const ToolError error = TableTools::open(image, path, rom::Access::ReadWrite); !error.ok())
        return fail(error);
    rom::ImportReport report;
    const ToolError error = TableTools::importTable(image, table, options, report);
    for (const rom::LabelDisagreement &label : report.labels)
        warn(csvPath, label.message());
    if (!error.ok()) {
        (void)image.close();
        if (!report.shops.empty())
            std::fprintf(stderr, "shop-table: %s had been written to %s before this error:\n",
                         shopCount(report.shops.size()).c_str(), path.c_str());
        if (std::holds_alternative<rom::TableDoubt>(error.reason))
            return fail(path, error.reasonText() + " Nothing was written; give --force to import into it all the same.");
        return fail(error);
    }
    if (const ToolError closed = closeImage(image); !closed.ok())
        return fail(closed);
    return line.quiet() ? kSuccess : print(changedText(report.shops, path));
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
    if (const int status = line.quiet() ? kSuccess : print(lines); status != kSuccess)
        return status;
    return lines.empty() ? kSuccess : kFailure;
}

int TableCommands::makePatch(const CommandLine &line)
{
    const std::string &clean = line.files().at(0);
    const std::string &modified = line.files().at(1);
    rom::PatchReport patch;
    if (const ToolError error = TableTools::makePatch(clean, modified, line.patchFormat(), patch); !error.ok())
        return fail(error);
    if (const ToolError error = TableTools::writeOutput(line.output(), patch.bytes, {clean, modified}); !error.ok())
        return fail(error);
    // Equal contents make a patch that does nothing, as asked: a note. A
    // checksum that is not valid says MODIFIED looks wrong: a warning.
    if (patch.changesNothing && !line.quiet())
        warn(modified, "its cartridge contents are the same as those of " + clean + ": the patch changes nothing");
    if (!patch.checksumValid)
        warn(modified, "its checksum is not valid: shop-table checksum --fix writes it, then make the patch again");
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
    if (const int status = line.quiet() ? kSuccess : print(report); status != kSuccess)
        return status;
    return line.check() && !sum->isValid() ? kFailure : kSuccess;
}

// --item-names FILE, if given; the built-in names stay otherwise.
int TableCommands::readItemNames(const CommandLine &line, rom::ItemNames &names)
{
    if (line.itemNames().empty())
        return kSuccess;
    const ToolError error = TableTools::readItemNames(line.itemNames(), names);
    return error.ok() ? kSuccess : fail(error);
}

int TableCommands::fail(const ToolError &error) { return fail(error.path, error.reasonText()); }

int TableCommands::fail(const std::string &path, const std::string &reason)
{
    warn(path, reason);
    return kFailure;
}

void TableCommands::warn(const std::string &path, const std::string &text)
{
    std::fprintf(stderr, "shop-table: %s: %s\n", path.c_str(), text.c_str());
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
