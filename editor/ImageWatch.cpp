#include "ImageWatch.h"

#include "EditingFlow.h"
#include "EditorController.h"
#include "EditorMessages.h"
#include "EditorView.h"
#include "ShopDocument.h"
#include "ShopTableModel.h"

using rom::RomError;

ImageWatch::ImageWatch(ShopDocument &document, EditorView &view, EditorPrompts &prompts, ShopTableModel &table,
                       EditingFlow &flow, rom::FileAccess &files)
    : m_document(document), m_view(view), m_prompts(prompts), m_table(table), m_flow(flow), m_files(files)
{
}

RomError ImageWatch::follow(bool *changedByOthers)
{
    bool changed = false;
    const RomError error = m_document.image().checkForChanges(changed);
    if (changedByOthers)
        *changedByOthers = changed;
    if (error != RomError::None || !changed)
        return error;
    std::string name;
    if (m_document.image().readName(name) == RomError::None)
        showName(name);
    if (m_view.allShopsShown())
        readTable();
    rom::ShopRecord inFile;
    const int shown = m_document.shownIndex();
    if (!m_document.hasUnsavedPicks() && m_document.image().readShop(shown, inFile) == RomError::None &&
        inFile != m_document.inFile()) {
        m_document.show(shown, inFile);
        m_flow.showShown();
    }
    return RomError::None;
}

void ImageWatch::offerReload()
{
    rom::FileStatus file;
    if (m_files.stat(rom::FilePath(m_document.image().path()), file) != 0)
        return; // deleted: reported at the next save or move
    const std::pair version{file.size, file.modified};
    if (m_reloadDeclined == version)
        return;
    if (m_prompts.askToReload(EditorMessages::reloadQuestion(m_document.fileName(), m_document.shownIndex(),
                                                             m_document.hasUnsavedPicks())))
        m_flow.reloadImage();
    else
        m_reloadDeclined = version;
}

void ImageWatch::opened(const std::string &internalName, const rom::ShopTable &table)
{
    m_reloadDeclined.reset();
    showName(internalName);
    if (m_view.allShopsShown())
        m_table.setTable(table);
    else
        m_table.clear();
}

void ImageWatch::readTable()
{
    rom::ShopTable table;
    if (m_document.image().readTable(table) == RomError::None)
        m_table.setTable(table);
    else
        m_table.clear();
}

// The name is 21 single-byte characters, kept whole with its trailing blanks.
void ImageWatch::showName(const std::string &internalName)
{
    m_view.setTitle(EditorController::title() + QStringLiteral(" - ") + QString::fromLatin1(internalName));
}
