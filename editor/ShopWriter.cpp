#include "ShopWriter.h"

#include "EditorMessages.h"
#include "ItemNamesInUse.h"
#include "ShopTableModel.h"
#include "ShopTypeLabels.h"

using rom::RomError;
using rom::ShopRecord;

ShopWriter::ShopWriter(ShopDocument &document, EditorPrompts &prompts, ShopTableModel &table,
                       const ItemNamesInUse &names)
    : m_document(document), m_prompts(prompts), m_table(table), m_names(names)
{
}

ShopWriter::Outcome ShopWriter::write(int index, const ShopRecord &record, const ShopRecord &expected,
                                      ShopRecord &before)
{
    const QString saving = tr("save shop %1 to");
    if (const RomError error = m_document.image().readShop(index, before); error != RomError::None) {
        reportFailure(saving, index, error);
        return Outcome::Stopped;
    }
    // Already what is wanted (an undo tried again, say): nothing to ask or write.
    if (before == record)
        return Outcome::AlreadyThere;
    if (before != expected) {
        const QString question = EditorMessages::conflictQuestion(
            index, m_document.fileName(), before, record,
            [](std::uint8_t code) { return QString::fromStdString(rom::ShopTypeLabels::text(code)); },
            [this](std::uint8_t code) { return m_names.label(code); });
        switch (m_prompts.askAboutConflict(question)) {
        case EditorPrompts::Conflict::Overwrite: break;
        case EditorPrompts::Conflict::TakeFile:
            m_table.setShop(index, before);
            m_document.show(index, before);
            return Outcome::FileVersionTaken;
        case EditorPrompts::Conflict::Cancel: return Outcome::Stopped;
        }
    }
    if (const RomError error = m_document.image().writeShop(index, record); error != RomError::None) {
        reportFailure(saving, index, error);
        return Outcome::Stopped;
    }
    return Outcome::Written;
}

void ShopWriter::reportFailure(const QString &what, int index, RomError error)
{
    const int shown = m_document.isOpen() ? m_document.shownIndex() : index;
    m_prompts.showError(EditorMessages::shopFailure(
        what, index, m_document.fileName(), error,
        tr("The editor stays on shop %1, with your picks on screen.").arg(shown)));
}
