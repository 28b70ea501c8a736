#pragma once

#include <QString>

#include <optional>
#include <string>

class NameTableChoice;

// The modal messages and questions of the editing flow. Each returns when
// the user has answered.
class EditorPrompts {
public:
    // The user's answer when a shop about to be written was changed in the
    // file by another program since the editor read it.
    enum class Conflict {
        Overwrite, // write what the editor shows over the other program's change
        TakeFile,  // show the file's version, dropping the picks
        Cancel,    // write nothing, keep the picks, stay on the shop
    };
    // The user's answer when unsaved picks would be lost (Quit, Open ROM).
    enum class Unsaved { Save, Discard, Cancel };
    // The files the editor asks for, besides images to open.
    enum class FileChoice {
        ItemNamesToRead,  // Options > Item Names...
        ItemNamesToWrite, // Options > Export Item Names...
        TableToRead,      // File > Import Table... (CSV)
        TableToWrite,     // File > Export Table...
        CleanImage,       // File > Create Patch..., the image before the changes
        ImageToCompare,   // View > Compare with Image...
        PatchToWrite,     // File > Create Patch..., .ips or .bps
        NameTableToRead,  // Options > Item Names from Image..., the table file
        NameTableToWrite, // the same window's Save Table File...
    };

    virtual ~EditorPrompts() = default;

    virtual void showError(const QString &message) = 0;
    virtual void showInformation(const QString &message) = 0;
    // A yes-or-no question, No the default; true for yes.
    [[nodiscard]] virtual bool confirm(const QString &question) = 0;
    [[nodiscard]] virtual Conflict askAboutConflict(const QString &message) = 0;
    [[nodiscard]] virtual Unsaved askAboutUnsaved(const QString &message) = 0;
    // Reload, the default, or not now; true for reload.
    [[nodiscard]] virtual bool askToReload(const QString &message) = 0;
    // Asks for a shop number, 0-127, offering current; nothing if cancelled.
    [[nodiscard]] virtual std::optional<int> askShopNumber(int current) = 0;
    // Options > Item Names from Image...: the user edits choice, whose
    // image is at the path given; true for OK.
    [[nodiscard]] virtual bool chooseNameTable(NameTableChoice &choice, const std::string &image) = 0;
    // A file dialog: the chosen path's bytes, or empty if cancelled.
    [[nodiscard]] virtual std::string chooseFile(FileChoice choice) = 0;
};
