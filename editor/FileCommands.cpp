#include "FileCommands.h"

#include "EditorMessages.h"
#include "ImagePath.h"
#include "TableTools.h"

using image_path::shownName;

namespace {

QString failure(const QString &what, const rom::ToolError &error)
{
    return FileCommands::tr("Could not %1.\n\n%2: %3")
        .arg(what, EditorMessages::quoted(shownName(error.path)), EditorMessages::sentence(error.reasonText()));
}

QString notIn(int unsaved)
{
    return unsaved < 0 ? QString()
                       : FileCommands::tr("\n\nYour picks for shop %1 are not saved, so they are not in it.").arg(unsaved);
}

QString hex(std::uint16_t value) { return QStringLiteral("0x%1").arg(value, 4, 16, QChar(u'0')).toUpper().replace(u'X', u'x'); }

} // namespace

FileCommands::FileCommands(EditorPrompts &prompts, rom::RomFile &image) : m_prompts(prompts), m_image(image) {}

void FileCommands::exportTable(const rom::ItemNames &names, int unsaved)
{
    const std::string path = m_prompts.chooseFile(EditorPrompts::FileChoice::TableToWrite);
    if (path.empty())
        return;
    std::string csv;
    rom::ToolError error = rom::TableTools::exportCsv(m_image, names, csv);
    if (error.ok())
        error = rom::TableTools::writeOutput(
            path, std::span(reinterpret_cast<const std::uint8_t *>(csv.data()), csv.size()), {m_image.path()});
    if (!error.ok())
        m_prompts.showError(failure(tr("export the table"), error));
    else if (unsaved >= 0)
        m_prompts.showInformation(tr("The table of %1 is in %2.%3")
                                   .arg(imageName(), EditorMessages::quoted(shownName(path)), notIn(unsaved)));
}

void FileCommands::createPatch(int unsaved)
{
    const std::string clean = m_prompts.chooseFile(EditorPrompts::FileChoice::CleanImage);
    const std::string out = clean.empty() ? std::string() : m_prompts.chooseFile(EditorPrompts::FileChoice::PatchToWrite);
    if (out.empty())
        return;
    const bool ips = out.size() >= 4 && QString::fromStdString(out.substr(out.size() - 4)).toLower() == u".ips";
    rom::PatchReport patch;
    rom::ToolError error = rom::TableTools::makePatch(clean, m_image.path(),
                                                      ips ? rom::PatchFormat::Ips : rom::PatchFormat::Bps, patch);
    if (error.ok())
        error = rom::TableTools::writeOutput(out, patch.bytes, {clean, m_image.path()});
    if (!error.ok()) {
        m_prompts.showError(failure(tr("create the patch"), error));
        return;
    }
    m_prompts.showInformation(tr("%1 holds the patch from %2 to %3 (%4 bytes).%5")
                                  .arg(EditorMessages::quoted(shownName(out)), EditorMessages::quoted(shownName(clean)),
                                       imageName())
                                  .arg(patch.bytes.size())
                                  .arg(notIn(unsaved)) +
                              patchNotes(patch, ips));
}

// What the user should know before handing the patch on.
QString FileCommands::patchNotes(const rom::PatchReport &patch, bool ips) const
{
    QString notes;
    if (patch.changesNothing)
        notes += tr("\n\nThe two images have the same contents: the patch changes nothing.");
    if (!patch.checksumValid)
        notes += tr("\n\nThe checksum of %1 does not match its contents, and an image patched with this patch "
                    "will carry the wrong one: choose File > Fix Checksum..., then create the patch again.")
                     .arg(imageName());
    notes += ips ? tr("\n\nThe patch holds the cartridge contents alone, so it is for images without a copier "
                      "header: applied to an image with one, an IPS patch writes every change 512 bytes too early.")
                 : tr("\n\nThe patch holds the cartridge contents alone, so it is for images without a copier "
                      "header.");
    return notes;
}

// Shows the stored and the computed checksum, and writes the right one only
// when the user says so.
void FileCommands::fixChecksum(int unsaved)
{
    std::optional<rom::CartridgeChecksum> sum;
    if (const rom::ToolError error = rom::TableTools::checksum(m_image, sum); !error.ok()) {
        m_prompts.showError(failure(tr("read the checksum"), error));
        return;
    }
    const QString values = tr("Stored in the cartridge header: checksum %1, complement %2.\n"
                                          "Computed from the contents: checksum %3, complement %4.")
                               .arg(hex(sum->storedChecksum()), hex(sum->storedComplement()), hex(sum->computed()),
                                    hex(std::uint16_t(~sum->computed())));
    if (sum->isValid()) {
        m_prompts.showInformation(tr("The checksum of %1 is right.\n\n%2%3").arg(imageName(), values, notIn(unsaved)));
        return;
    }
    if (!m_prompts.confirm(tr("The checksum of %1 does not match its contents.\n\n%2\n\nWrite the computed "
                                       "checksum and complement? Only those four bytes change.%3")
                            .arg(imageName(), values, notIn(unsaved))))
        return;
    // Another program may have changed the image while the question was up:
    // the checksum written is the one of the contents as they are now, and
    // only if they are still what the user was shown.
    std::optional<rom::CartridgeChecksum> now;
    if (const rom::ToolError error = rom::TableTools::checksum(m_image, now); !error.ok()) {
        m_prompts.showError(failure(tr("read the checksum"), error));
        return;
    }
    if (now->computed() != sum->computed() || now->storedChecksum() != sum->storedChecksum() ||
        now->storedComplement() != sum->storedComplement()) {
        m_prompts.showError(tr("Another program changed %1 while the question was shown, so the checksum "
                                        "was not written.\n\nChoose Fix Checksum... again to see the new values.")
                             .arg(imageName()));
        return;
    }
    bool written = false;
    rom::ToolError error = rom::TableTools::fixChecksum(m_image, *now, written);
    if (error.ok() && m_image.sync() != rom::RomError::None)
        error = {m_image.path(), rom::RomError::FlushFailed};
    if (!error.ok())
        m_prompts.showError(failure(tr("write the checksum"), error));
}

QString FileCommands::imageName() const { return EditorMessages::quoted(shownName(m_image.path())); }
