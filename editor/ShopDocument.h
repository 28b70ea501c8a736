#pragma once

#include "RomFile.h"
#include "ShopRecord.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// The editing state: the open image, the shop on screen, and its picks. The
// picks are unsaved while they differ from the bytes last read from or
// written to the file for that shop.
class ShopDocument {
public:
    explicit ShopDocument(rom::FileAccess &files) : m_image(files) {}

    [[nodiscard]] bool isOpen() const { return m_image.isOpen(); }
    [[nodiscard]] rom::RomFile &image() { return m_image; }
    [[nodiscard]] const rom::RomFile &image() const { return m_image; }
    // The open image's path, for messages; empty once it is closed.
    [[nodiscard]] QString fileName() const;
    [[nodiscard]] int shownIndex() const { return m_shown; }
    [[nodiscard]] const rom::ShopRecord &picks() const { return m_picks; }
    // What the file held for the shown shop when last read or written.
    [[nodiscard]] const rom::ShopRecord &inFile() const { return m_inFile; }
    [[nodiscard]] bool hasUnsavedPicks() const { return isOpen() && m_picks != m_inFile; }
    // A type code without a label that the file held for the shop when it
    // was shown: it stays pickable while the shop is shown.
    [[nodiscard]] std::optional<std::uint8_t> unlabelledType() const { return m_unlabelledType; }

    // A newly opened image in place of the closed one.
    void adopt(rom::RomFile &&image, const std::string &internalName);
    // The image's internal name as it was read at the open, trailing blanks kept.
    [[nodiscard]] const std::string &internalName() const { return m_internalName; }
    // Shop index as the file holds it, shown without unsaved picks.
    void show(int index, const rom::ShopRecord &inFile);
    void setPicks(const rom::ShopRecord &picks) { m_picks = picks; }
    // The file holds record for the shown shop now.
    void setInFile(const rom::ShopRecord &record) { m_inFile = record; }
    void dropPicks() { m_picks = m_inFile; }
    // Closes the image, flushing its writes; false if they could not be flushed.
    bool close();

private:
    rom::RomFile m_image;
    std::string m_internalName;
    int m_shown = 0;
    rom::ShopRecord m_picks;
    rom::ShopRecord m_inFile;
    std::optional<std::uint8_t> m_unlabelledType;
};
