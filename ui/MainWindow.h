#pragma once

#include "EditorView.h"
#include "FileOpenDialog.h"
#include "FileAccess.h"
#include "WindowPrompts.h"

#include <QList>
#include <QMainWindow>

#include <memory>
#include <string_view>
#include <unordered_map>

class AllShopsWindow;
class EditorController;
class QLabel;
class ShopForm;

// The editor's main window: the shop form (index, type, eight slots, Save
// and Quit), the File, Edit, View and Options menus, and the All Shops and
// About windows. It shows what the editing controller tells it and passes
// the user's actions, and drops, activation and closing, to it.
class MainWindow : public QMainWindow, public EditorView {
    Q_OBJECT

public:
    explicit MainWindow(rom::FileAccess &files = rom::FileAccess::system(), QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens an image as if it had been chosen in File > Open ROM. The path
    // is the name's bytes as the system takes them; a relative one starts
    // from the working directory.
    void openImage(const QByteArray &path);
    // Once shown: the item names file for this run (else the one
    // remembered), then the image; either may be empty. Paths as bytes.
    void start(const QByteArray &namesFile, const QByteArray &image);
    [[nodiscard]] EditorController &controller() { return *m_controller; }
    [[nodiscard]] static QFont windowFont();
    [[nodiscard]] static QIcon windowIconSet();

    // EditorView
    void setTypeLabels(const QStringList &labels) override;
    void setItemLabels(const QStringList &labels) override;
    void showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType) override;
    void setTitle(const QString &title) override;
    void showLocation(const QString &fileName, const QString &path, const QString &shop) override;
    void setModified(bool modified) override;
    void enableEditing() override;
    void showDifferences(bool comparing, const QMap<int, QString> &differing) override;
    void copyText(const QString &text) override;
    [[nodiscard]] QString pastedText() const override;
    void showAllShops() override;
    [[nodiscard]] bool allShopsShown() const override;
    void closeWindow() override;

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showAbout();
    void createMenus();
    void createStatusBar();
    void connectMenus();
    void connectForm();
    void addShortcuts();
    void placeAllShops();
    [[nodiscard]] QAction *action(std::string_view name) const;

    ShopForm *m_form = nullptr;
    QLabel *m_fileName = nullptr; // in the status bar, with the shown shop's place
    QLabel *m_shopPlace = nullptr;
    QAction *m_revert = nullptr; // enabled at every shop shown while comparing
    std::unordered_map<std::string_view, QAction *> m_actions; // by the menu table's names
    QList<QAction *> m_imageActions; // enabled once an image is open
    WindowPrompts m_prompts{this};
    FileOpenDialog m_dialog{this};
    AllShopsWindow *m_allShops = nullptr; // made when first shown
    std::unique_ptr<EditorController> m_controller;
};
