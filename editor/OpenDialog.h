#pragma once

#include <QList>
#include <QString>

struct FileFilter {
    QString description; // "Super MagiCom ROM File (*.smc)"
    QString pattern;     // "*.smc"
};

// The file-open dialog, one object for the window's life.
class OpenDialog {
public:
    virtual ~OpenDialog() = default;

    // preselected counts from 1.
    virtual void setFilters(const QList<FileFilter> &filters, int preselected) = 0;
    // Blocks until the user closes the dialog; true when a file was chosen.
    [[nodiscard]] virtual bool show() = 0;
    // The last file chosen, kept between showings; empty before the first.
    [[nodiscard]] virtual QString fileName() const = 0;
    // Keeps fileName as if the user had chosen it.
    virtual void setFileName(const QString &fileName) = 0;
};
