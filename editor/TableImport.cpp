#include "TableImport.h"

#include "EditingFlow.h"
#include "EditorMessages.h"
#include "ImagePath.h"
#include "ShopDocument.h"
#include "ShopHistory.h"
#include "ShopTableModel.h"
#include "TableTools.h"


using rom::RomError;

TableImport::TableImport(ShopDocument &document, EditorPrompts &prompts, ShopTableModel &table, ShopHistory &history,
                         EditingFlow &flow)
    : m_document(document), m_prompts(prompts), m_table(table), m_history(history), m_flow(flow)
{
}

void TableImport::run()
{
    const std::string path = m_prompts.chooseFile(EditorPrompts::FileChoice::TableToRead);
    if (path.empty())
        return;
    std::vector<rom::ShopRow> rows;
    if (const rom::ToolError error = rom::TableTools::readCsv(path, rows); !error.ok()) {
        m_prompts.showError(EditorMessages::importFailure(image_path::shownName(error.path),
                                                          EditorMessages::sentence(error.reasonText()),
                                                          tr("The image is unchanged.")));
        return;
    }
    if (!m_flow.keepOrDropPicks(tr("importing a table")))
        return;
    rom::ShopTable table;
    RomError error = m_document.image().readTable(table);
    ShopChange step;
    for (const rom::ShopRow &row : rom::TableCsv::changedRows(table, rows)) {
        if (error != RomError::None || (error = m_document.image().writeShop(row.shop, row.record)) != RomError::None)
            break;
        step.push_back({row.shop, table[std::size_t(row.shop)], row.record});
        m_table.setShop(row.shop, row.record);
        if (row.shop == m_document.shownIndex())
            m_document.show(row.shop, row.record);
    }
    if (!step.empty())
        m_history.recordWrite(step);
    m_flow.wrote(EditingFlow::Durability::Now);
    const QString file = EditorMessages::quoted(m_document.fileName());
    if (error != RomError::None)
        m_prompts.showError(EditorMessages::importFailure(
            m_document.fileName(), EditorMessages::reason(error),
            tr("%1 shops were written before it stopped; Edit > Undo takes them back.").arg(step.size())));
    else if (step.size() == 1)
        m_prompts.showInformation(tr("1 shop changed in %1.").arg(file));
    else
        m_prompts.showInformation(tr("%1 shops changed in %2.").arg(step.size()).arg(file));
}
