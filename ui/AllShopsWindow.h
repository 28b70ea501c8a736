#pragma once

#include <QDialog>

class QLineEdit;
class QTableView;
class ShopFilterModel;
class ShopTableModel;

// All Shops: every shop of the open image in a table, with a search field
// that keeps the shops whose type or any slot holds the text typed and marks
// those cells. Not modal; Enter or a double click on a row shows that shop in
// the main window; Esc closes it. It only reads. Its columns are as wide as
// what they show, at its font, and it opens as wide as they are.
class AllShopsWindow : public QDialog {
    Q_OBJECT

public:
    AllShopsWindow(ShopTableModel &shops, QWidget *parent);

signals:
    void shopActivated(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void fitToFont();
    void fitColumns();
    [[nodiscard]] QSize fittingSize() const;
    void showTitle();
    void activateRow(int row);

    ShopFilterModel *m_filter;
    QLineEdit *m_search = nullptr;
    QTableView *m_table = nullptr;
};
