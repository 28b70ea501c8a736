#include "ImageOpener.h"

#include "EditingFlow.h"
#include "EditorController.h"
#include "EditorMessages.h"
#include "ImagePath.h"

using rom::RomError;

ImageOpener::ImageOpener(EditorPrompts &prompts, OpenDialog &dialog, rom::FileAccess &files, EditingFlow &flow)
    : m_prompts(prompts), m_dialog(dialog), m_files(files), m_flow(flow)
{
}

std::optional<OpenedImage> ImageOpener::choose(const rom::RomFile &open)
{
    m_dialog.setFilters(EditorController::openFilters(), EditorController::kPreselectedFilter);
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

// Read again after the question about unsaved picks, whose Save may have
// written to this very file.
std::optional<OpenedImage> ImageOpener::openImage(const std::string &path, const rom::RomFile &open)
{
    OpenedImage image{rom::RomFile(m_files), image_path::shownName(path), {}, {}};
    const auto read = [&image] {
        const RomError error = image.file.readName(image.internalName);
        return error == RomError::None ? image.file.readShop(0, image.firstShop) : error;
    };
    RomError error = image.file.open(path, rom::Access::ReadWrite, &open);
    if (error == RomError::None)
        error = read();
    if (error == RomError::None && !m_flow.keepOrDropPicks(tr("opening another image")))
        return std::nullopt;
    if (error == RomError::None)
        error = read();
    if (error != RomError::None) {
        m_prompts.showError(EditorMessages::openFailure(image.fileName, EditorMessages::reason(error), open.isOpen()));
        return std::nullopt;
    }
    return image;
}
