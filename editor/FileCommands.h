#pragma once

#include "EditorPrompts.h"

#include "ItemNames.h"
#include "RomFile.h"
#include "TableTools.h"

#include <QCoreApplication>
#include <QString>

// File > Export Table..., Create Patch... and Fix Checksum...: what the
// command line offers, for the open image, through the window. They work on
// the file as it is: picks not saved are not in what they make. Create
// Patch warns of a checksum that does not match, and says which images a
// patch is for.
class FileCommands {
    Q_DECLARE_TR_FUNCTIONS(FileCommands)

public:
    FileCommands(EditorPrompts &prompts, rom::RomFile &image);

    // unsaved: the shop whose picks are not saved, to say so; -1 if none.
    void exportTable(const rom::ItemNames &names, int unsaved);
    void createPatch(int unsaved);
    void fixChecksum(int unsaved);

private:
    [[nodiscard]] QString imageName() const;
    [[nodiscard]] QString patchNotes(const rom::PatchReport &patch, bool ips) const;

    EditorPrompts &m_prompts;
    rom::RomFile &m_image;
};
