#pragma once

#include "EditorController.h"
#include "EditorView.h"
#include "FileOpenDialog.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class AllShopsWindow;
class QMessageBox;
class QStringListModel;
class QPushButton;
class ShopScrollBar;

// Form1, the editor's main window: one tab page with the shop index, the
// shop type and the eight item slots, Save and Quit below, and the File and
// Options menus. It holds the controls the editing controller works on and
// passes their notifications to it.
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
    [[nodiscard]] static QFont windowFont();
    [[nodiscard]] static QIcon windowIconSet();

    // EditorView
    [[nodiscard]] QString shopIndexText() const override;
    void setShopIndexText(const QString &text) override;
    [[nodiscard]] int scrollValue() const override;
    void placeScroll(int value) override;
    void addTypeEntry(const QString &label) override;
    void removeTypeEntry(int entry) override;
    [[nodiscard]] int typeSelection() const override;
    void setTypeSelection(int entry) override;
    [[nodiscard]] int slotSelection(int slot) const override;
    void setSlotSelection(int slot, int entry) override;
    void setItemLabels(const QStringList &labels) override;
    void enableEditing() override;
    void setTitle(const QString &title) override;
    void setModified(bool modified) override;
    void setUndoState(const UndoState &state) override;
    void showError(const QString &message) override;
    [[nodiscard]] Conflict askAboutConflict(const QString &message) override;
    [[nodiscard]] Unsaved askAboutUnsaved(const QString &message) override;
    void showAbout() override;
    [[nodiscard]] std::optional<int> askShopNumber(int current) override;
    [[nodiscard]] std::string chooseFile(FileChoice choice) override;
    void showInformation(const QString &message) override;
    [[nodiscard]] bool confirm(const QString &question) override;
    void showAllShops() override;
    [[nodiscard]] bool allShopsShown() const override;
    void endProgram() override;

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenus();
    void createControls();
    void findControls();
    void connectControls();
    void setKeyboardOrder();
    void fitCaptions();
    [[nodiscard]] int ask(QMessageBox &box, const QString &message);

    FileOpenDialog m_dialog;
    std::unique_ptr<EditorController> m_controller;
    QLineEdit *m_shopIndex = nullptr;
    ShopScrollBar *m_scroll = nullptr;
    QComboBox *m_type = nullptr;
    std::array<QComboBox *, 8> m_slots{};
    std::array<QLabel *, 10> m_captions{}; // Label1, Label2, Label3-Label10
    QLabel *m_info = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_quit = nullptr;
    QWidget *m_tabStrip = nullptr;
    QStringListModel *m_items = nullptr; // the entries of every slot list
    AllShopsWindow *m_allShops = nullptr; // made when first shown
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
};
