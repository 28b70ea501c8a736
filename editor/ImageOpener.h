#pragma once

#include "EditorPrompts.h"
#include "OpenDialog.h"

#include "RomFile.h"
#include "TableCheck.h"

#include <QCoreApplication>

#include <optional>
#include <string>

class EditingFlow;

// An image, checked and read, that the editor can show in place of the one
// open now: from its first shop on, or, reloaded, on the shop shown, with
// the picks on screen kept.
struct OpenedImage {
    rom::RomFile file;
    std::string internalName;
    rom::ShopTable table; // as read at the open, in one read
    bool reloaded = false;
    // What makes its table look like another's than a shop table; nothing
    // when it looks like one, and for a reload, which is not told again.
    std::optional<rom::TableDoubt> doubt;
};

// Opens images as File > Open ROM, a drop or the command line asks. The
// chosen file is opened and read completely before the image open now is
// let go of, so that a refused file leaves it open and on screen; and
// before unsaved picks are asked about, which a refused file must not cost.
class ImageOpener {
    Q_DECLARE_TR_FUNCTIONS(ImageOpener)

public:
    static constexpr int kPreselectedFilter = 2;
    [[nodiscard]] static QList<FileFilter> filters();

    ImageOpener(EditorPrompts &prompts, OpenDialog &dialog, rom::FileAccess &files, EditingFlow &flow);

    // File > Open ROM: the file-open dialog, then the file chosen.
    [[nodiscard]] std::optional<OpenedImage> choose(const rom::RomFile &open);
    // A path's bytes, as the system takes them; a relative path starts from
    // the working directory.
    [[nodiscard]] std::optional<OpenedImage> openPath(const std::string &path, const rom::RomFile &open);
    // The open image's file as it is at its path now, which another program
    // may have replaced: nothing is asked about the picks, which stay.
    [[nodiscard]] std::optional<OpenedImage> reload(const rom::RomFile &open);

private:
    std::optional<OpenedImage> openImage(const std::string &path, const rom::RomFile &open);
    std::optional<OpenedImage> readImage(const std::string &path, const rom::RomFile &open, bool askAboutPicks);

    EditorPrompts &m_prompts;
    OpenDialog &m_dialog;
    rom::FileAccess &m_files;
    EditingFlow &m_flow;
};
