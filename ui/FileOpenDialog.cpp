#include "FileOpenDialog.h"

#include <QFileDialog>
#include <QFileInfo>

FileOpenDialog::FileOpenDialog(QWidget *window) : m_dialog(new QFileDialog(window))
{
    m_dialog->setObjectName(QStringLiteral("CommonDialog1"));
    m_dialog->setWindowTitle(QStringLiteral("Open ROM"));
    m_dialog->setFileMode(QFileDialog::ExistingFile);
    m_dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog on every desktop: its filters match extensions in any
    // case (GAME.SMC as well as game.smc), which not every native one does.
    m_dialog->setOption(QFileDialog::DontUseNativeDialog);
}

FileOpenDialog::~FileOpenDialog() = default;

void FileOpenDialog::setFilters(const QList<FileFilter> &filters, int preselected)
{
    // Qt reads each filter's patterns from the parentheses of its description.
    QStringList names;
    for (const FileFilter &filter : filters)
        names.append(filter.description);
    m_dialog->setNameFilters(names);
    if (preselected >= 1 && preselected <= names.size())
        m_dialog->selectNameFilter(names.at(preselected - 1));
}

bool FileOpenDialog::show()
{
    if (!m_fileName.isEmpty()) {
        const QFileInfo last(m_fileName);
        m_dialog->setDirectory(last.absolutePath());
        m_dialog->selectFile(last.fileName());
    }
    if (m_dialog->exec() != QDialog::Accepted || m_dialog->selectedFiles().isEmpty())
        return false;
    m_fileName = m_dialog->selectedFiles().constFirst();
    return true;
}
