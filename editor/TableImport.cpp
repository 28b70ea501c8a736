#include "TableImport.h"

#include "EditingFlow.h"
#include "EditorMessages.h"
#include "ImagePath.h"
#include "ItemNamesInUse.h"
#include "ShopDocument.h"
#include "ShopHistory.h"
#include "ShopListText.h"
#include "ShopTableModel.h"
#include "TableTools.h"


using rom::RomError;

namespace {

// "3, 4 and 12", or the first ten and "and 5 more".
QString shopList(const ShopChange &step)
{
    std::vector<int> shops;
    for (const ShopWrite &write : step)
        shops.push_back(write.index);
    return QString::fromStdString(rom::ShopListText::of(shops));
}

// The labels that disagree with their codes, the first ten of them; empty if none.
QString labelWarnings(const std::vector<rom::LabelDisagreement> &labels)
{
    if (labels.empty())
        return {};
    QString text = TableImport::tr("\n\nThese labels name another code than the one beside them. The codes were "
                                   "imported, not the labels:");
    const std::size_t shown = std::min(labels.size(), rom::ShopListText::kMaxListed);
    for (std::size_t index = 0; index < shown; ++index)
        text += u'\n' + QString::fromStdString(labels[index].message());
    if (shown < labels.size())
        text += u'\n' + TableImport::tr("And %1 more.").arg(labels.size() - shown);
    return text;
}

} // namespace

TableImport::TableImport(ShopDocument &document, EditorPrompts &prompts, ShopTableModel &table,
                         const ItemNamesInUse &names, ShopHistory &history, EditingFlow &flow)
    : m_document(document), m_prompts(prompts), m_table(table), m_names(names), m_history(history), m_flow(flow)
{
}

void TableImport::run()
{
    const std::string path = m_prompts.chooseFile(EditorPrompts::FileChoice::TableToRead);
    if (path.empty())
        return;
    rom::CsvTable csv;
    if (const rom::ToolError error = rom::TableTools::readCsv(path, csv); !error.ok()) {
        m_prompts.showError(EditorMessages::importFailure(image_path::shownName(error.path),
                                                          EditorMessages::sentence(error.reasonText()),
                                                          tr("The image is unchanged.")));
        return;
    }
    if (!m_flow.keepOrDropPicks(tr("importing a table")))
        return;
    rom::ShopTable before;
    RomError error = m_document.image().readTable(before);
    // Another game's image, or a hack that moved the table: the user decides.
    if (const std::optional<rom::TableDoubt> doubt = error == RomError::None ? rom::TableCheck::whatLooksWrong(before)
                                                                              : std::nullopt;
        doubt && !m_prompts.confirm(QString::fromStdString(doubt->message()) +
                                    tr("\n\nImport the table into %1 all the same?")
                                        .arg(EditorMessages::quoted(m_document.fileName()))))
        return;
    std::vector<rom::LabelDisagreement> labels;
    ShopChange step;
    if (error == RomError::None) {
        labels = rom::LabelCheck::disagreements(csv.labels, m_names.names(), before);
        error = write(csv.rows, before, step);
    }
    if (!step.empty()) {
        m_history.recordWrite(step);
        m_flow.wrote(EditingFlow::Durability::Now);
    }
    report(error, step, labels);
}

RomError TableImport::write(const std::vector<rom::ShopRow> &rows, const rom::ShopTable &before, ShopChange &step)
{
    for (const rom::ShopRow &row : rom::TableCsv::changedRows(before, rows)) {
        if (const RomError error = m_document.image().writeShop(row.shop, row.record); error != RomError::None)
            return error;
        step.push_back({row.shop, before[std::size_t(row.shop)], row.record});
        m_table.setShop(row.shop, row.record);
        if (row.shop == m_document.shownIndex())
            m_document.show(row.shop, row.record);
    }
    return RomError::None;
}

void TableImport::report(RomError error, const ShopChange &step, const std::vector<rom::LabelDisagreement> &labels)
{
    const QString file = EditorMessages::quoted(m_document.fileName());
    const QString warnings = labelWarnings(labels);
    if (error != RomError::None)
        m_prompts.showError(EditorMessages::importFailure(
            m_document.fileName(), EditorMessages::reason(error),
            tr("%1 shops were written before it stopped; Edit > Undo takes them back.").arg(step.size()) + warnings));
    else if (step.empty())
        m_prompts.showInformation(tr("0 shops changed in %1.").arg(file) + warnings);
    else if (step.size() == 1)
        m_prompts.showInformation(tr("1 shop changed in %1: %2.").arg(file, shopList(step)) + warnings);
    else
        m_prompts.showInformation(tr("%1 shops changed in %2: %3.").arg(step.size()).arg(file, shopList(step)) +
                                  warnings);
}
