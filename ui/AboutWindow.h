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
    // "Version: 1.2" for version 1.0.2: the minor number is not shown.
    [[nodiscard]] static QString versionText();

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();
    void fitTexts();

    QLabel *m_version = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_disclaimer = nullptr;
};
