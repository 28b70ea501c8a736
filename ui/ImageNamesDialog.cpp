#include "ImageNamesDialog.h"

#include "FindNamesDialog.h"
#include "ImagePath.h"
#include "NamePreviewModel.h"
#include "WindowPrompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Where what is wrong with a field is said: hidden while nothing is, in the
// palette's colour for visited links (magenta or purple in most palettes,
// light and dark alike, and unlike any text around it).
QLabel *problemLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setVisible(false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::LinkVisited));
    label->setPalette(palette);
    return label;
}

// "addressEdit", "addressProblem" and so on, for the field's widgets.
QString objectNameOf(NameTableChoice::Field field, QLatin1String widget)
{
    static const char *const kNames[] = {"tableFile", "address", "entryLength", "skip", "codes"};
    return QLatin1String(kNames[field]) + widget;
}

} // namespace

ImageNamesDialog::ImageNamesDialog(NameTableChoice &choice, std::string image, QWidget *parent)
    : QDialog(parent), m_choice(choice), m_image(std::move(image))
{
    setObjectName(QStringLiteral("imageNamesDialog"));
    setWindowTitle(tr("Item Names from Image"));
    createControls();
    showChoice();
    resize(560, 560);
}

void ImageNamesDialog::createControls()
{
    auto *form = new QFormLayout;
    auto *table = new QHBoxLayout;
    m_fields[NameTableChoice::TableField] = new QLineEdit(this);
    auto *browse = new QPushButton(tr("&Browse..."), this);
    table->addWidget(m_fields[NameTableChoice::TableField]);
    table->addWidget(browse);
    auto *tableCaption = new QLabel(tr("&Table file:"), this);
    tableCaption->setBuddy(m_fields[NameTableChoice::TableField]);
    form->addRow(tableCaption, table);
    m_problems[NameTableChoice::TableField] = problemLabel(this);
    m_tableNote = new QLabel(this);
    form->addRow(QString(), m_problems[NameTableChoice::TableField]);
    form->addRow(QString(), m_tableNote);
    const auto row = [this, form](NameTableChoice::Field field, const QString &caption, const QString &hint) {
        QLineEdit *edit = addField(field, caption, hint);
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        form->addRow(QString(), m_problems[field]);
    };
    row(NameTableChoice::AddressField, tr("&Address:"), tr("$D2:B300 in the HiROM map, or 0x12B300 in the cartridge"));
    row(NameTableChoice::LengthField, tr("Entry &length:"), tr("bytes per name, 1 to 64"));
    row(NameTableChoice::SkipField, tr("Bytes to s&kip:"), tr("at the start of each entry (an icon, say)"));
    row(NameTableChoice::CodesField, tr("&Codes:"), tr("00-FE"));
    m_fields[NameTableChoice::TableField]->setObjectName(objectNameOf(NameTableChoice::TableField, "Edit"_L1));
    m_problems[NameTableChoice::TableField]->setObjectName(objectNameOf(NameTableChoice::TableField, "Problem"_L1));

    auto *tools = new QHBoxLayout;
    auto *find = new QPushButton(tr("&Find..."), this);
    find->setObjectName(QStringLiteral("findButton"));
    m_save = new QPushButton(tr("Sa&ve Table File..."), this);
    m_save->setObjectName(QStringLiteral("saveTableButton"));
    tools->addWidget(find);
    tools->addWidget(m_save);
    tools->addStretch();

    m_names = new NamePreviewModel(m_choice, this);
    auto *preview = new QListView(this);
    preview->setObjectName(QStringLiteral("namesPreview"));
    preview->setModel(m_names);
    preview->setUniformItemSizes(true);
    preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview->setAccessibleName(tr("The names as the table reads them"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(tools);
    layout->addWidget(preview, 1);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &ImageNamesDialog::browse);
    connect(m_fields[NameTableChoice::TableField], &QLineEdit::editingFinished, this, [this] {
        if (m_fields[NameTableChoice::TableField]->isModified()) {
            m_choice.setText(NameTableChoice::TableField, m_fields[NameTableChoice::TableField]->text());
            showChoice();
        }
    });
    connect(find, &QPushButton::clicked, this, &ImageNamesDialog::find);
    connect(m_save, &QPushButton::clicked, this, &ImageNamesDialog::saveTable);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// A field and the label under it that says what is wrong with it; each
// change is read at once.
QLineEdit *ImageNamesDialog::addField(NameTableChoice::Field field, const QString &caption, const QString &hint)
{
    auto *edit = m_fields[field] = new QLineEdit(this);
    edit->setObjectName(objectNameOf(field, "Edit"_L1));
    edit->setPlaceholderText(hint);
    edit->setAccessibleName(QString(caption).remove(u'&').remove(u':'));
    m_problems[field] = problemLabel(this);
    m_problems[field]->setObjectName(objectNameOf(field, "Problem"_L1));
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) {
        m_choice.setText(field, text);
        showChoice();
    });
    return edit;
}

// What the choice holds now: the fields' texts where they differ (so that
// typing is never disturbed), the problems beside them, and the preview.
void ImageNamesDialog::showChoice()
{
    for (int field = 0; field < NameTableChoice::FieldCount; ++field) {
        if (m_fields[field]->text() != m_choice.text(NameTableChoice::Field(field)))
            m_fields[field]->setText(m_choice.text(NameTableChoice::Field(field)));
        const QString &problem = m_choice.problem(NameTableChoice::Field(field));
        if (m_problems[field]->text() != problem) {
            m_problems[field]->setText(problem);
            m_problems[field]->setVisible(!problem.isEmpty());
            m_fields[field]->setAccessibleDescription(problem);
        }
    }
    if (const QString note = m_choice.tableNote(); m_tableNote->text() != note) {
        m_tableNote->setText(note);
        m_tableNote->setVisible(!note.isEmpty());
    }
    m_names->refresh();
    m_ok->setEnabled(m_choice.ready());
    m_save->setEnabled(m_choice.hasTable());
}

void ImageNamesDialog::browse()
{
    const std::string path = WindowPrompts::askForFile(this, EditorPrompts::FileChoice::NameTableToRead);
    if (path.empty())
        return;
    m_choice.setTableFile(path);
    showChoice();
}

void ImageNamesDialog::find()
{
    FindNamesDialog dialog(m_choice, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.placement())
        return;
    m_choice.use(*dialog.placement());
    showChoice();
}

// The table Find learnt, as a file to keep and edit; never over the image.
void ImageNamesDialog::saveTable()
{
    const std::string path = WindowPrompts::askForFile(this, EditorPrompts::FileChoice::NameTableToWrite);
    if (path.empty())
        return;
    const QString problem = m_choice.saveTable(path, m_image);
    m_tableNote->setText(problem.isEmpty() ? tr("Saved as %1.").arg(image_path::shownName(path)) : problem);
    m_tableNote->setVisible(true);
}
