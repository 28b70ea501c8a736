#pragma once

#include "TestSupport.h"

#include <map>
#include <vector>

// What each image file must hold and what the window must show after a
// sequence of user actions, kept in step with the actions by the sessions.
struct SessionImage {
    QString path;
    rom::ImageLayout layout;
    Bytes bytes; // what the file must hold
};

// One step of the history, as undo and redo walk them: a write that changed
// a shop, or a pick on the shown shop not yet saved (before and after are
// then the picks on screen).
struct SessionStep {
    bool pick;
    int index;
    Bytes before;
    Bytes after;
};

struct SessionModel {
    std::map<QString, SessionImage> images;
    SessionImage *open = nullptr;
    int index = 0;
    int scroll = 1;
    Bytes shown = Bytes(9, 0);
    Bytes loaded = Bytes(9, 0);  // what the file held for the shown shop when last read or written
    std::uint8_t loadedType = 0; // a code without a label stays pickable while its shop is shown
    qsizetype errors = 0;
    int writes = 0;              // records written to any file
    std::vector<SessionStep> history;
    std::size_t done = 0;        // history[0, done) is in the file

    // Takes the file at path, as it is now, into the model.
    SessionImage &add(const QString &path, rom::ImageLayout layout);
    [[nodiscard]] bool unlabelled() const { return loadedType > 0x35; }
    [[nodiscard]] bool unsaved() const { return open && shown != loaded; }
    [[nodiscard]] bool canUndo() const { return open && done > 0; }
    [[nodiscard]] bool canRedo() const { return open && done < history.size(); }
    [[nodiscard]] Bytes shop(const SessionImage &image, int shopIndex) const;
    // A pick in a list (0 the type, 1-8 the slots): a step of its own, which
    // ends what could be redone, as any new edit does.
    void pick(int list, std::uint8_t code);
    // Writes the shown shop into the open image if its picks changed.
    void save();
    // The scroll bar moves to value: the shown shop is saved and value's is shown.
    void moveTo(int value);
    void openImage(SessionImage &image);
    void undo();
    void redo();
    // Undo or redo while the file cannot be read: a pick on the shown shop
    // still goes; any other step fails, is reported once and stays.
    void stepUnread(bool undoing);
    // The unsaved picks are dropped: the shop shows what the file holds.
    void discard();

private:
    // The pick steps of the shown shop below `done` leave the history: the
    // picks were saved or dropped. The pick steps above it went on from
    // those picks, and leave with them.
    void settlePicks();
    void load(int shopIndex);
    void write(int shopIndex, const Bytes &bytes);
    void showWritten(const Bytes &bytes);
};

Bytes tableInModel(const SessionImage &image);
Bytes tableOnDisk(const SessionImage &image);
