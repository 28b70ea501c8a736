#include "AboutWindow.h"

#include "EditorController.h"
#include "Line.h"
#include "MainWindow.h"
#include "Twips.h"
#include "Version.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr QSize kClientSize(twips::pixels(5730), twips::pixels(3555));

QLabel *text(QWidget *parent, const QString &name, const QString &content, const QRect &geometry)
{
    auto *label = new QLabel(content, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(MainWindow::windowFont());
    setFixedSize(kClientSize);
    setModal(true);
    createControls();
    showTexts();
    fitTexts();
}

QString AboutWindow::descriptionText()
{
    return tr("This program edits the Shops in Qorvik.  \r\n\r\n"
                          "This editor also works on the Japanese Zeltharia IV ROM file.  \r\n\r\n"
                          "Special thanks to Brannoc for helping me fix a nasty bug.");
}

QString AboutWindow::versionText()
{
    return tr("Version: %1").arg(QLatin1String(version::kText));
}

void AboutWindow::createControls()
{
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/shop-32.xpm")));
    picture->setScaledContents(true);
    picture->setGeometry(twips::rect(90, 270, 960, 960));

    text(this, QStringLiteral("titleLabel"), EditorController::title(), twips::rect(1230, 240, 3885, 240));
    m_version = text(this, QStringLiteral("versionLabel"), tr("Version"), twips::rect(1230, 570, 3885, 225));
    m_description = text(this, QStringLiteral("descriptionLabel"), QString(), twips::rect(1230, 900, 3015, 1470));
    m_description->setWordWrap(true);

    addLine(this, QStringLiteral("ruleShadow"), twips::point(90, 2445), twips::pixels(5654), 1, QPalette::Dark);
    addLine(this, QStringLiteral("ruleLight"), twips::point(105, 2460), twips::pixels(5654), 2, QPalette::Light);

    m_disclaimer = text(this, QStringLiteral("disclaimerLabel"),
                        tr("This editor is an independent work. Its author is not affiliated with the "
                                       "publisher of the game it edits, and the game's names belong to that "
                                       "publisher."),
                        twips::rect(255, 2625, 3870, 825));
    m_disclaimer->setWordWrap(true);

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(twips::rect(4260, 3075, 1245, 345));
    ok->setDefault(true); // Enter closes the window, as Esc does
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

void AboutWindow::showTexts()
{
    m_description->setText(descriptionText());
    m_version->setText(versionText());
}

// The layout is made for Tahoma; with a wider font the description may use the
// width the title has, and the disclaimer the height down to the window's edge.
void AboutWindow::fitTexts()
{
    if (m_description->heightForWidth(m_description->width()) > m_description->height())
        m_description->resize(twips::pixels(3885), m_description->height());
    const int needed = m_disclaimer->heightForWidth(m_disclaimer->width());
    if (needed > m_disclaimer->height())
        m_disclaimer->resize(m_disclaimer->width(), std::min(needed, height() - m_disclaimer->y()));
}
