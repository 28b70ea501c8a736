#pragma once

#include "EditorPrompts.h"
#include "ShopRecord.h"

#include <QCoreApplication>
#include <QMap>

#include <optional>

class ItemNamesInUse;
class ShopTableModel;

// The image the open one is compared with, a clean image of the game say:
// its shop table, read once when chosen. The shown shop's fields and All
// Shops' cells that differ from it are marked, and a shop can be put back
// to it.
class CleanComparison {
    Q_DECLARE_TR_FUNCTIONS(CleanComparison)

public:
    CleanComparison(EditorPrompts &prompts, ShopTableModel &table, const ItemNamesInUse &names);

    // View > Compare with Image...: false when none was chosen, or it could
    // not be read (reported); the comparison in use then stays.
    bool choose();
    [[nodiscard]] bool active() const;
    // The compared image's shop; nothing when nothing is compared.
    [[nodiscard]] std::optional<rom::ShopRecord> shop(int index) const;
    // The fields of picks (0 the type, 1-8 the slots) that differ from the
    // compared image's shop, each with what that image holds there.
    [[nodiscard]] QMap<int, QString> differences(int index, const rom::ShopRecord &picks) const;

private:
    EditorPrompts &m_prompts;
    ShopTableModel &m_shops; // keeps the compared table, whose cells it marks
    const ItemNamesInUse &m_names;
    QString m_fileName;
};
