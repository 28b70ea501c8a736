#include "TableTools.h"

#include "BpsPatch.h"
#include "IpsPatch.h"
#include "NameTools.h"
#include "OutputFile.h"
#include "PlainFile.h"
#include "ShopTypeLabels.h"

#include <algorithm>
#include <utility>

namespace rom {

namespace {

ToolError failure(const FilePath &path, ToolError::Reason reason)
{
    return ToolError{path.text(), std::move(reason)};
}

ToolError fromRom(const FilePath &path, RomError error)
{
    return error == RomError::None ? ToolError{} : failure(path, error);
}

ToolError fromFile(const FilePath &path, const FileError &error)
{
    return error.ok() ? ToolError{} : failure(path, error);
}

// The patch from the cartridge of clean to that of modified, both read into
// before and after. patch is untouched on error.
ToolError patchBetween(const FilePath &clean, const FilePath &modified, PatchFormat format,
                       CartridgeBytes &before, CartridgeBytes &after, std::vector<std::uint8_t> &patch)
{
    // Patches work on the cartridges alone: each image's layout may be either.
    ImageLayout layout{};
    if (ToolError error = NameTools::readCartridge(clean, before, layout); !error.ok())
        return error;
    if (ToolError error = NameTools::readCartridge(modified, after, layout); !error.ok())
        return error;
    const PatchError error =
        format == PatchFormat::Ips ? IpsPatch::make(before, after, patch) : BpsPatch::make(before, after, patch);
    return error == PatchError::None ? ToolError{} : failure(modified, error);
}

} // namespace

ToolError TableTools::open(RomFile &image, const FilePath &path, Access access)
{
    return fromRom(path, image.open(path, access));
}

ToolError TableTools::exportCsv(RomFile &image, const ItemNames &names, std::string &csv)
{
    return exportCsv(image, names, ExportOptions{}, csv);
}

ToolError TableTools::exportCsv(RomFile &image, const ItemNames &names, const ExportOptions &options, std::string &csv)
{
    ShopTable table;
    if (const RomError error = image.readTable(table); error != RomError::None)
        return failure(image.path(), error);
    const CsvLabels labels{
        .type = [](std::uint8_t code) { return ShopTypeLabels::text(code); },
        .item = [&names](std::uint8_t code) { return std::string(names.label(code)); },
    };
    CsvColumns columns{.labels = options.labels, .addresses = std::nullopt};
    if (options.addresses)
        columns.addresses = image.layout();
    csv = TableCsv::write(table, labels, columns);
    return {};
}

ToolError TableTools::readCsv(const FilePath &path, std::vector<ShopRow> &rows)
{
    CsvTable table;
    if (ToolError error = readCsv(path, table); !error.ok())
        return error;
    rows = std::move(table.rows);
    return {};
}

ToolError TableTools::readCsv(const FilePath &path, CsvTable &table)
{
    std::string text;
    if (ToolError error = fromFile(path, PlainFile::read(path, kMaxTextFileSize, text)); !error.ok())
        return error;
    CsvTable read;
    if (CsvError error = TableCsv::read(text, read.rows, read.labels); !error.ok())
        return failure(path, std::move(error));
    table = std::move(read);
    return {};
}

ToolError TableTools::readItemNames(const FilePath &path, ItemNames &names)
{
    std::string text;
    if (ToolError error = fromFile(path, PlainFile::read(path, kMaxTextFileSize, text)); !error.ok())
        return error;
    auto parsed = ItemNames::parse(text);
    if (auto *error = std::get_if<NamesFileError>(&parsed))
        return failure(path, *error);
    names = std::get<ItemNames>(std::move(parsed));
    return {};
}

ToolError TableTools::importTable(RomFile &image, const CsvTable &table, const ImportOptions &options,
                                  ImportReport &report)
{
    report = {};
    ShopTable before;
    if (const RomError error = image.readTable(before); error != RomError::None)
        return failure(image.path(), error);
    if (const std::optional<TableDoubt> doubt = TableCheck::whatLooksWrong(before); doubt && !options.force)
        return failure(image.path(), *doubt);
    report.labels = LabelCheck::disagreements(table.labels, options.names, before);
    for (const ShopRow &row : TableCsv::changedRows(before, table.rows)) {
        if (const RomError error = image.writeShop(row.shop, row.record); error != RomError::None)
            return failure(image.path(), error);
        report.shops.push_back(row.shop);
    }
    return {};
}

ToolError TableTools::readTable(const FilePath &path, ShopTable &table)
{
    RomFile image;
    if (ToolError error = open(image, path, Access::ReadOnly); !error.ok())
        return error;
    return fromRom(path, image.readTable(table));
}

ToolError TableTools::makePatch(const FilePath &clean, const FilePath &modified, PatchFormat format,
                                std::vector<std::uint8_t> &patch)
{
    CartridgeBytes before;
    CartridgeBytes after;
    return patchBetween(clean, modified, format, before, after, patch);
}

ToolError TableTools::makePatch(const FilePath &clean, const FilePath &modified, PatchFormat format,
                                PatchReport &report)
{
    CartridgeBytes before;
    CartridgeBytes after;
    PatchReport made;
    if (ToolError error = patchBetween(clean, modified, format, before, after, made.bytes); !error.ok())
        return error;
    // Stops at the first difference, which any real change has well before the end.
    made.changesNothing = std::ranges::equal(before, after);
    made.checksumValid = CartridgeChecksum(after).isValid();
    report = std::move(made);
    return {};
}

ToolError TableTools::checksum(RomFile &image, std::optional<CartridgeChecksum> &sum)
{
    CartridgeBytes cartridge;
    if (const RomError error = image.readCartridge(cartridge); error != RomError::None)
        return failure(image.path(), error);
    sum.emplace(cartridge);
    return {};
}

ToolError TableTools::fixChecksum(RomFile &image, const CartridgeChecksum &sum, bool &written)
{
    written = false;
    if (sum.isValid())
        return {};
    if (const RomError error = image.writeChecksumFields(sum.fixedFields()); error != RomError::None)
        return failure(image.path(), error);
    written = true;
    return {};
}

ToolError TableTools::writeOutput(const FilePath &path, std::span<const std::uint8_t> bytes,
                                  std::initializer_list<FilePath> images)
{
    return fromFile(path, OutputFile::write(path, bytes, std::span(images.begin(), images.size())));
}

} // namespace rom
