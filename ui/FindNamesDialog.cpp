#include "FindNamesDialog.h"

#include "AddressText.h"
#include "NameTableChoice.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "$C3:A400: entries of 16 bytes, skip 1 - 00: Copper Knife, 01: Copper Dagger, ..."
QString describe(const rom::NameTablePlacement &place)
{
    const std::optional<std::uint32_t> snes = rom::hiRomAddress(place.layout.start);
    QStringList names;
    for (int code = place.preview.firstCode(); code <= place.preview.lastCode(); ++code)
        names << QStringLiteral("%1: ").arg(code, 2, 16, QChar(u'0')).toUpper() +
                     QString::fromStdString(place.preview.name(code).text);
    return FindNamesDialog::tr("%1: entries of %2 bytes, skip %3\n%4")
        .arg(QString::fromStdString(snes ? rom::AddressText::snes(*snes) : rom::AddressText::offset(place.layout.start)))
        .arg(place.layout.entryLength)
        .arg(place.layout.skip)
        .arg(names.join(QStringLiteral(", ")));
}

} // namespace

FindNamesDialog::FindNamesDialog(const NameTableChoice &choice, QWidget *parent) : QDialog(parent), m_choice(choice)
{
    setObjectName(QStringLiteral("findNamesDialog"));
    setWindowTitle(tr("Find the Item Names"));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(tr("Two to four items with their codes, as you know them from playing, a line each "
                                  "(\u201C01 Dagger\u201D):"),
                               this);
    caption->setWordWrap(true);
    m_known = new QPlainTextEdit(this);
    m_known->setObjectName(QStringLiteral("knownNamesEdit"));
    m_known->setTabChangesFocus(true);
    caption->setBuddy(m_known);
    auto *search = new QPushButton(tr("&Search"), this);
    search->setObjectName(QStringLiteral("searchButton"));
    m_outcome = new QLabel(this);
    m_outcome->setObjectName(QStringLiteral("outcomeLabel"));
    m_outcome->setWordWrap(true);
    m_places = new QListWidget(this);
    m_places->setObjectName(QStringLiteral("placesList"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_use = buttons->addButton(tr("&Use This Place"), QDialogButtonBox::AcceptRole);
    m_use->setEnabled(false);
    for (QWidget *widget : std::initializer_list<QWidget *>{caption, m_known, search, m_outcome, m_places, buttons})
        layout->addWidget(widget);
    connect(search, &QPushButton::clicked, this, &FindNamesDialog::search);
    connect(m_places, &QListWidget::currentRowChanged, this, [this](int row) { m_use->setEnabled(row >= 0); });
    connect(m_places, &QListWidget::itemActivated, this, &FindNamesDialog::choose);
    connect(buttons, &QDialogButtonBox::accepted, this, &FindNamesDialog::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(520, 380);
}

void FindNamesDialog::search()
{
    m_places->clear();
    m_found.clear();
    auto found = m_choice.find(m_known->toPlainText());
    if (const QString *problem = std::get_if<QString>(&found)) {
        m_outcome->setText(*problem);
        return;
    }
    m_found = std::get<std::vector<rom::NameTablePlacement>>(std::move(found));
    m_outcome->setText(m_found.size() == 1 ? tr("One place fits the names.")
                                           : tr("%1 places fit the names: choose one.").arg(m_found.size()));
    for (const rom::NameTablePlacement &place : m_found)
        m_places->addItem(describe(place));
    m_places->setCurrentRow(0);
    m_places->setFocus();
}

void FindNamesDialog::choose()
{
    const int row = m_places->currentRow();
    if (row < 0 || row >= int(m_found.size()))
        return;
    m_chosen = m_found[std::size_t(row)];
    accept();
}
