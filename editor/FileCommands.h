#pragma once

#include "EditorView.h"

#include "ItemNames.h"
#include "RomFile.h"

#include <QString>

// File > Export Table..., Create Patch... and Fix Checksum...: what the
// command line offers, for the open image, through the window. They work on
// the file as it is: picks not saved are not in what they make.
class FileCommands {
public:
    FileCommands(EditorView &view, rom::RomFile &image);

    // unsaved: the shop whose picks are not saved, to say so; -1 if none.
    void exportTable(const rom::ItemNames &names, int unsaved);
    void createPatch(int unsaved);
    void fixChecksum(int unsaved);

private:
    [[nodiscard]] QString imageName() const;

    EditorView &m_view;
    rom::RomFile &m_image;
};
