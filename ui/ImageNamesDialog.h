#pragma once

#include "NameTableChoice.h"

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class NamePreviewModel;

// Options > Item Names from Image...: the table file (chosen, or learnt by
// Find), the name table's address, entry length, bytes to skip and codes,
// and a preview of the names they give that follows every change. What is
// wrong with a field is said beside it; OK is on once nothing is.
class ImageNamesDialog : public QDialog {
    Q_OBJECT

public:
    // image: the open image's path, which saving a table file never replaces.
    ImageNamesDialog(NameTableChoice &choice, std::string image, QWidget *parent);

private:
    void createControls();
    QLineEdit *addField(NameTableChoice::Field field, const QString &caption, const QString &hint);
    void showChoice();
    void browse();
    void find();
    void saveTable();

    NameTableChoice &m_choice;
    std::string m_image;
    std::array<QLineEdit *, NameTableChoice::FieldCount> m_fields{};
    std::array<QLabel *, NameTableChoice::FieldCount> m_problems{};
    QLabel *m_tableNote = nullptr;
    NamePreviewModel *m_names = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_ok = nullptr;
};
