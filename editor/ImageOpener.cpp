#include "ImageOpener.h"

#include "EditingFlow.h"
#include "EditorMessages.h"
#include "ImagePath.h"

using rom::RomError;

ImageOpener::ImageOpener(EditorPrompts &prompts, OpenDialog &dialog, rom::FileAccess &files, EditingFlow &flow)
    : m_prompts(prompts), m_dialog(dialog), m_files(files), m_flow(flow)
{
}

QList<FileFilter> ImageOpener::filters()
{
    // "All Files" lists every file, with or without a dot in its name.
    return {
        {tr("All Files (*.*)"), QStringLiteral("*")},
        {tr("Super MagiCom ROM File (*.smc)"), QStringLiteral("*.smc")},
        {tr("Super Wild Card ROM File (*.swc)"), QStringLiteral("*.swc")},
        {tr("Pro Fighter X ROM File (*.fig)"), QStringLiteral("*.fig")},
    };
}

std::optional<OpenedImage> ImageOpener::choose(const rom::RomFile &open)
{
    m_dialog.setFilters(filters(), kPreselectedFilter);
    if (!m_dialog.show())
        return std::nullopt;
    const QString fileName = m_dialog.fileName();
    if (image_path::standsForAnotherName(fileName)) {
        m_prompts.showError(EditorMessages::openFailure(
            fileName,
            tr("Its name holds bytes that are not valid UTF-8 text, so the file dialog cannot name it exactly, and "
               "another file's name could be taken for it. Rename the file, or give its path on the command line."),
            open.isOpen()));
        return std::nullopt;
    }
    return openImage(image_path::fileText(fileName), open);
}

std::optional<OpenedImage> ImageOpener::openPath(const std::string &path, const rom::RomFile &open)
{
    const std::string absolute = image_path::absolute(path);
    m_dialog.setFileName(image_path::shownName(absolute));
    return openImage(absolute, open);
}

// The same path as the open image's, whose file another program replaced:
// a reload, which keeps the picks, rather than a question whose Save could
// only fail.
std::optional<OpenedImage> ImageOpener::openImage(const std::string &path, const rom::RomFile &open)
{
    if (open.isOpen() && path == open.path() && !open.isStillAtPath())
        return reload(open);
    std::optional<OpenedImage> image = readImage(path, open, true);
    if (image)
        image->doubt = rom::TableCheck::whatLooksWrong(image->table);
    return image;
}

std::optional<OpenedImage> ImageOpener::reload(const rom::RomFile &open)
{
    std::optional<OpenedImage> image = readImage(open.path(), open, false);
    if (image)
        image->reloaded = true;
    return image;
}

// Read again after a question about unsaved picks, whose Save may have
// written to this very file.
std::optional<OpenedImage> ImageOpener::readImage(const std::string &path, const rom::RomFile &open,
                                                  bool askAboutPicks)
{
    OpenedImage image{rom::RomFile(m_files), {}, {}, false, {}};
    const auto read = [&image] {
        const RomError error = image.file.readName(image.internalName);
        return error == RomError::None ? image.file.readTable(image.table) : error;
    };
    RomError error = image.file.open(path, rom::Access::ReadWrite, &open);
    if (error == RomError::None)
        error = read();
    if (error == RomError::None && askAboutPicks && m_flow.hasUnsavedPicks()) {
        if (!m_flow.keepOrDropPicks(tr("opening another image")))
            return std::nullopt;
        error = read();
    }
    if (error != RomError::None) {
        m_prompts.showError(
            EditorMessages::openFailure(image_path::shownName(path), EditorMessages::reason(error), open.isOpen()));
        return std::nullopt;
    }
    return image;
}
