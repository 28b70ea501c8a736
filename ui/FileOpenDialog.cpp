#include "FileOpenDialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

FileOpenDialog::FileOpenDialog(QWidget *window) : m_window(window) {}

FileOpenDialog::~FileOpenDialog() = default;

QFileDialog *FileOpenDialog::dialog()
{
    if (m_dialog)
        return m_dialog;
    m_dialog = new QFileDialog(m_window);
    m_dialog->setObjectName(QStringLiteral("openDialog"));
    m_dialog->setWindowTitle(FileOpenDialog::tr("Open ROM"));
    m_dialog->setFileMode(QFileDialog::ExistingFile);
    m_dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog on every desktop: its filters match extensions in any
    // case (GAME.SMC as well as game.smc), which not every native one does.
    m_dialog->setOption(QFileDialog::DontUseNativeDialog);
    QObject::connect(m_dialog, &QFileDialog::filterSelected, m_dialog,
                     [this](const QString &description) { usePatterns(description); });
    applyFilters();
    return m_dialog;
}

void FileOpenDialog::applyFilters()
{
    QStringList descriptions;
    for (const FileFilter &filter : m_filters)
        descriptions.append(filter.description);
    m_dialog->setNameFilters(descriptions);
    if (!m_selectedFilter.isEmpty())
        m_dialog->selectNameFilter(m_selectedFilter);
    usePatterns(m_dialog->selectedNameFilter());
}

// Qt reads a filter's patterns from the parentheses of its description; a
// filter's own pattern may say otherwise ("All Files (*.*)" lists every
// file, with a dot in its name or not).
void FileOpenDialog::usePatterns(const QString &description)
{
    auto *files = m_dialog->findChild<QFileSystemModel *>();
    for (const FileFilter &filter : std::as_const(m_filters))
        if (filter.description == description && files)
            files->setNameFilters(filter.pattern.split(u' ', Qt::SkipEmptyParts));
}

void FileOpenDialog::setFilters(const QList<FileFilter> &filters, int preselected)
{
    m_filters = filters;
    m_selectedFilter = preselected >= 1 && preselected <= filters.size() ? filters.at(preselected - 1).description
                                                                         : QString();
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
