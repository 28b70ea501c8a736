#pragma once

#include "TestSupport.h"

#include <map>

// What each image file must hold and what the window must show after a
// sequence of user actions, kept in step with the actions by the sessions.
struct SessionImage {
    QString path;
    rom::ImageLayout layout;
    Bytes bytes; // what the file must hold
};

struct SessionModel {
    std::map<QString, SessionImage> images;
    SessionImage *open = nullptr;
    int index = 0;
    int scroll = 1;
    Bytes shown = Bytes(9, 0);
    std::uint8_t loadedType = 0; // a code without a label stays pickable while its shop is shown
    qsizetype errors = 0;

    // Takes the file at path, as it is now, into the model.
    SessionImage &add(const QString &path, rom::ImageLayout layout);
    [[nodiscard]] bool unlabelled() const { return loadedType > 0x35; }
    void load(int shopIndex);
    [[nodiscard]] Bytes shop(const SessionImage &image, int shopIndex) const;
    // Writes the shown shop into the open image.
    void save();
    // The scroll bar moves to value: the shown shop is saved and value's is shown.
    void moveTo(int value);
    void openImage(SessionImage &image);
};

Bytes tableInModel(const SessionImage &image);
Bytes tableOnDisk(const SessionImage &image);
