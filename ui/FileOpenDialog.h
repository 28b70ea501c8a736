#pragma once

#include "OpenDialog.h"

#include <QCoreApplication>
#include <QStringList>

class QFileDialog;
class QWidget;

// The one file-open dialog of the main window, kept for the window's life
// so that it remembers the folder and the last file chosen.
// It is built when first shown: a file dialog costs more to build than the
// rest of the window, and many sessions open their image from the command
// line or by dropping it.
class FileOpenDialog : public OpenDialog {
    Q_DECLARE_TR_FUNCTIONS(FileOpenDialog)

public:
    explicit FileOpenDialog(QWidget *window);
    ~FileOpenDialog() override;

    void setFilters(const QList<FileFilter> &filters, int preselected) override;
    bool show() override;
    [[nodiscard]] QString fileName() const override { return m_fileName; }
    void setFileName(const QString &fileName) override { m_fileName = fileName; }

private:
    QFileDialog *dialog();
    void applyFilters();
    void usePatterns(const QString &description);

    QWidget *m_window;
    QFileDialog *m_dialog = nullptr; // owned by the window
    QList<FileFilter> m_filters;
    QString m_selectedFilter;
    QString m_fileName;
};
