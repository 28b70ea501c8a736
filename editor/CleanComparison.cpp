#include "CleanComparison.h"

#include "EditorMessages.h"
#include "ImagePath.h"
#include "ItemNamesInUse.h"
#include "ShopTableModel.h"
#include "ShopTypeLabels.h"
#include "TableTools.h"

#include <QFileInfo>

CleanComparison::CleanComparison(EditorPrompts &prompts, ShopTableModel &table, const ItemNamesInUse &names)
    : m_prompts(prompts), m_shops(table), m_names(names)
{
}

bool CleanComparison::choose()
{
    const std::string path = m_prompts.chooseFile(EditorPrompts::FileChoice::ImageToCompare);
    if (path.empty())
        return false;
    rom::ShopTable table;
    if (const rom::ToolError error = rom::TableTools::readTable(path, table); !error.ok()) {
        m_prompts.showError(tr("Could not compare with %1.\n\n%2")
                                .arg(EditorMessages::quoted(image_path::shownName(path)),
                                     EditorMessages::sentence(error.reasonText())));
        return false;
    }
    m_fileName = QFileInfo(image_path::shownName(path)).fileName();
    m_shops.setComparedTable(table);
    return true;
}

bool CleanComparison::active() const { return m_shops.comparedTable().has_value(); }

std::optional<rom::ShopRecord> CleanComparison::shop(int index) const
{
    const std::optional<rom::ShopTable> &table = m_shops.comparedTable();
    if (!table)
        return std::nullopt;
    return (*table)[std::size_t(index)];
}

QMap<int, QString> CleanComparison::differences(int index, const rom::ShopRecord &picks) const
{
    QMap<int, QString> differing;
    const std::optional<rom::ShopRecord> clean = shop(index);
    if (!clean)
        return differing;
    const rom::ShopRecord::Bytes mine = picks.toBytes();
    const rom::ShopRecord::Bytes theirs = clean->toBytes();
    for (std::size_t field = 0; field < mine.size(); ++field)
        if (mine[field] != theirs[field])
            differing.insert(int(field), tr("In %1: %2").arg(m_fileName,
                                                              field == 0 ? QString::fromStdString(rom::ShopTypeLabels::text(theirs[field]))
                                                                         : m_names.label(theirs[field])));
    return differing;
}
