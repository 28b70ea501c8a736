#include "StepReplay.h"

#include "EditingFlow.h"
#include "EditorMessages.h"
#include "ShopDocument.h"
#include "ShopTableModel.h"
#include "ShopWriter.h"

using rom::RomError;
using rom::ShopRecord;

StepReplay::StepReplay(ShopDocument &document, ShopWriter &writer, EditorPrompts &prompts, ShopTableModel &table,
                       EditingFlow &flow)
    : m_document(document), m_writer(writer), m_prompts(prompts), m_table(table), m_flow(flow)
{
}

bool StepReplay::apply(const ShopChange &change, bool undo)
{
    return change.size() == 1 ? applyOne(change.front(), undo) : applySeveral(change, undo);
}

bool StepReplay::applyOne(const ShopWrite &write, bool undo)
{
    if (m_document.shownIndex() != write.index && !m_flow.moveTo(write.index))
        return false;
    const ShopRecord &target = undo ? write.before : write.after;
    ShopRecord inFile;
    switch (m_writer.write(write.index, target, undo ? write.after : write.before, inFile)) {
    case ShopWriter::Outcome::Stopped:
        return false;
    case ShopWriter::Outcome::FileVersionTaken:
        m_flow.fileVersionTaken();
        return false;
    case ShopWriter::Outcome::Written:
    case ShopWriter::Outcome::AlreadyThere: break;
    }
    m_table.setShop(write.index, target);
    m_document.show(write.index, target);
    m_flow.wrote();
    return true;
}

bool StepReplay::applySeveral(const ShopChange &change, bool undo)
{
    rom::ShopTable table;
    if (const RomError error = m_document.image().readTable(table); error != RomError::None) {
        m_writer.reportFailure(tr("read shop %1 from"), change.front().index, error);
        return false;
    }
    QList<int> changedByOthers;
    for (const ShopWrite &write : change) {
        const ShopRecord &inFile = table[std::size_t(write.index)];
        if (inFile != (undo ? write.after : write.before) && inFile != (undo ? write.before : write.after))
            changedByOthers << write.index;
    }
    if (!changedByOthers.isEmpty()) {
        switch (m_prompts.askAboutConflict(EditorMessages::conflictsQuestion(changedByOthers, m_document.fileName()))) {
        case EditorPrompts::Conflict::Overwrite: changedByOthers.clear(); break;
        case EditorPrompts::Conflict::TakeFile: break;
        case EditorPrompts::Conflict::Cancel: return false;
        }
    }
    for (const ShopWrite &write : change) {
        const ShopRecord &target = undo ? write.before : write.after;
        if (changedByOthers.contains(write.index) || table[std::size_t(write.index)] == target)
            continue;
        if (const RomError error = m_document.image().writeShop(write.index, target); error != RomError::None) {
            m_flow.wrote();
            m_writer.reportFailure(tr("write shop %1 to"), write.index, error);
            return false;
        }
        m_table.setShop(write.index, target);
        if (write.index == m_document.shownIndex())
            m_document.show(write.index, target);
    }
    m_flow.wrote();
    return true;
}
