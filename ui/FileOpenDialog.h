#pragma once

#include "OpenDialog.h"


class QFileDialog;
class QWidget;

// CommonDialog1: the one file-open dialog of the main window, kept for the
// window's life so that it remembers the folder and the last file chosen.
class FileOpenDialog : public OpenDialog {
public:
    explicit FileOpenDialog(QWidget *window);
    ~FileOpenDialog() override;

    void setFilters(const QList<FileFilter> &filters, int preselected) override;
    bool show() override;
    [[nodiscard]] QString fileName() const override { return m_fileName; }
    void setFileName(const QString &fileName) override { m_fileName = fileName; }

private:
    QFileDialog *m_dialog; // owned by the window
    QString m_fileName;
};
