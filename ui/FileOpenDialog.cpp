#include "FileOpenDialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>

FileOpenDialog::FileOpenDialog(QWidget *window) : m_window(window) {}

FileOpenDialog::~FileOpenDialog() = default;

QFileDialog *FileOpenDialog::dialog()
{
    if (m_dialog)
        return m_dialog;
    m_dialog = new QFileDialog(m_window);
    m_dialog->setObjectName(QStringLiteral("CommonDialog1"));
    m_dialog->setWindowTitle(QStringLiteral("Open ROM"));
    m_dialog->setFileMode(QFileDialog::ExistingFile);
    m_dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog on every desktop: its filters match extensions in any
    // case (GAME.SMC as well as game.smc), which not every native one does.
    m_dialog->setOption(QFileDialog::DontUseNativeDialog);
    applyFilters();
    return m_dialog;
}

void FileOpenDialog::applyFilters()
{
    m_dialog->setNameFilters(m_filters);
    if (!m_selectedFilter.isEmpty())
        m_dialog->selectNameFilter(m_selectedFilter);
}

void FileOpenDialog::setFilters(const QList<FileFilter> &filters, int preselected)
{
    // Qt reads each filter's patterns from the parentheses of its description.
    m_filters.clear();
    for (const FileFilter &filter : filters)
        m_filters.append(filter.description);
    m_selectedFilter = preselected >= 1 && preselected <= m_filters.size() ? m_filters.at(preselected - 1) : QString();
    if (m_dialog)
        applyFilters();
}

bool FileOpenDialog::show()
{
    QFileDialog *const open = dialog();
    if (!m_fileName.isEmpty()) {
        const QFileInfo last(m_fileName);
        open->setDirectory(last.absolutePath());
        open->selectFile(last.fileName());
    }
    const int answer = open->exec();
    // A name typed and confirmed with Return while the name completion list
    // shows leaves that list open after the dialog has gone, and it keeps
    // the keyboard from the main window.
    for (const QCompleter *completer : open->findChildren<QCompleter *>())
        completer->popup()->hide();
    if (answer != QDialog::Accepted || open->selectedFiles().isEmpty())
        return false;
    m_fileName = open->selectedFiles().constFirst();
    return true;
}
