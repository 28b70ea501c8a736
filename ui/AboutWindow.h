#pragma once

#include <QDialog>

class QLabel;

// About: the program's title, version, description and a disclaimer, shown
// modally over the main window. Its texts are built each time it is loaded.
class AboutWindow : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);

    [[nodiscard]] static QString descriptionText();
    // "Version: 1.3": the program's version, as --version gives it.
    [[nodiscard]] static QString versionText();

private:
    void createControls();
    void showTexts();
    void fitTexts();

    QLabel *m_version = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_disclaimer = nullptr;
};
