#include "ImageNamesDialog.h"

#include "FindNamesDialog.h"
#include "NamePreviewModel.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

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
    m_fields[NameTableChoice::TableField]->setObjectName(QStringLiteral("tableFileEdit"));
    m_problems[NameTableChoice::TableField]->setObjectName(QStringLiteral("tableFileProblem"));

    auto *tools = new QHBoxLayout;
    auto *find = new QPushButton(tr("&Find..."), this);
    find->setObjectName(QStringLiteral("findButton"));
    m_save = new QPushButton(tr("Sa&ve Table File..."), this);
    m_save->setObjectName(QStringLiteral("saveTableButton"));
    tools->addWidget(find);
    tools->addWidget(m_save);
    tools->addStretch();

    m_names = new NamePreviewModel(m_choice, this);
    m_preview = new QListView(this);
    m_preview->setObjectName(QStringLiteral("namesPreview"));
    m_preview->setModel(m_names);
    m_preview->setUniformItemSizes(true);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setAccessibleName(tr("The names as the table reads them"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(tools);
    layout->addWidget(m_preview, 1);
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
    static const char *const kNames[] = {"tableFile", "address", "entryLength", "skip", "codes"};
    auto *edit = m_fields[field] = new QLineEdit(this);
    edit->setObjectName(QLatin1String(kNames[field]) + QStringLiteral("Edit"));
    edit->setPlaceholderText(hint);
    edit->setAccessibleName(QString(caption).remove(u'&').remove(u':'));
    m_problems[field] = problemLabel(this);
    m_problems[field]->setObjectName(QLatin1String(kNames[field]) + QStringLiteral("Problem"));
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
    const QString path = QFileDialog::getOpenFileName(this, tr("Table File"), QString(),
                                                      tr("Table files (*.tbl);;All files (*)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return;
    m_choice.setTableFile(QFile::encodeName(path).toStdString());
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
    QFileDialog dialog(this, tr("Save Table File"), QStringLiteral("names.tbl"),
                       tr("Table files (*.tbl);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("tbl"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const QString problem = m_choice.saveTable(QFile::encodeName(path).toStdString(), m_image);
    m_tableNote->setText(problem.isEmpty() ? tr("Saved as %1.").arg(path) : problem);
    m_tableNote->setVisible(true);
}
