#include "ImageLayout.h"
#include "EditorController.h"
#include "MainWindow.h"
#include "SessionModel.h"
#include "ShopTypeLabels.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>

using rom::ImageLayout;

// Long random sessions through the real main window: the user's keys, clicks
// and drags on its controls, menus, dialogs and message boxes. After every
// action the image files and the window must match the session model.
// SHOP_SESSION_SEED=n runs only seed n; SHOP_SESSION_STEPS=n sets the number
// of actions per seed; SHOP_SESSION_TRACE=1 prints every action.
class TestWindowSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void session_data();
    void session();
};

// Every failure names the seed, the step and the action.
#define SESSION_VERIFY(condition, problem) QVERIFY2(condition, qPrintable(where() + QStringLiteral(" - ") + (problem)))

namespace {

constexpr int kExtraTypeEntry = rom::ShopTypeLabels::count();

QString imageName(const SessionImage &image)
{
    const auto at = image.bytes.data() + rom::fileOffset(image.layout, rom::kNameOffset);
    return QString::fromLatin1(reinterpret_cast<const char *>(at), qsizetype(rom::kNameLength));
}

// Closes a modal window that no handler has taken for a long while, so that
// an unexpected one fails the session instead of hanging it.
class StrayModals {
public:
    StrayModals()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start(50);
    }
    QStringList found;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal != m_seen) {
            m_seen = modal;
            m_polls = 0;
            return;
        }
        if (++m_polls < 40)
            return;
        m_polls = 0;
        const auto *box = qobject_cast<QMessageBox *>(modal);
        found << QStringLiteral("%1 \"%2\"").arg(modal->metaObject()->className(), box ? box->text() : modal->windowTitle());
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer m_timer;
    QPointer<QWidget> m_seen;
    int m_polls = 0;
};

class Session {
public:
    Session(quint32 seed, const QTemporaryDir &dir);
    void run(int steps);

private:
    int pick(int first, int last) { return first + int(m_random.bounded(quint32(last - first + 1))); }
    template <typename T, std::size_t N>
    const T &pickOf(const std::array<T, N> &choices)
    {
        return choices[std::size_t(pick(0, int(N) - 1))];
    }
    template <typename Widget>
    Widget *control(const QString &name) const
    {
        auto *widget = m_window.findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    [[nodiscard]] QString where() const { return QStringLiteral("seed %1, step %2: %3").arg(m_seed).arg(m_step).arg(m_what); }
    void act();

    // Actions.
    void pickByKeys();
    void pickInPopup();
    void pickByTyping();
    void scrollByKey();
    void clickScrollBar();
    void dragThumb();
    void save();
    void openImage();
    void openOther();
    void drop();
    void about();
    void undoOrRedo();

    // Parts of the user's hand.
    QComboBox *pickList(int list) const { return list == 0 ? m_type : m_slots[std::size_t(list - 1)]; }
    [[nodiscard]] int shownEntry(int list) const;
    void setShownEntry(int list, int entry);
    [[nodiscard]] QList<int> scrollBarPart(QStyle::SubControl part) const;
    void useMenu(const QString &menuName, const QString &entryName, Qt::Key title, Qt::Key mnemonic, bool byKeys);
    void startOpen();
    void expectModal(std::function<void(QWidget *)> action);
    void expectRefusal(const QString &path);
    bool answerUnsaved(const QString &doing, std::function<void()> next);
    void typeUnacceptedName(QFileDialog *dialog, const QString &path);
    void cancel(QFileDialog *dialog);
    void closeBox(QWidget *box, QAbstractButton *ok);
    void answer(QMessageBox *box, QMessageBox::StandardButton button);

    // Checks: empty when the window and the files match the model.
    [[nodiscard]] QString windowMismatch() const;
    [[nodiscard]] QString tableMismatch() const;
    [[nodiscard]] QString fileMismatch() const;

    const quint32 m_seed;
    const QTemporaryDir &m_dir;
    QRandomGenerator m_random;
    SessionModel m_model;
    QStringList m_imagePaths;                 // images the editor accepts
    QList<std::pair<QString, Bytes>> m_refused;  // files it refuses, with what they hold
    QString m_missing;
    QString m_folder;
    QStringList m_listing;

    FaultyFileAccess m_files; // counts the records written
    MainWindow m_window;
    QLineEdit *m_index;
    QScrollBar *m_scroll;
    QComboBox *m_type;
    std::array<QComboBox *, 8> m_slots{};
    QPushButton *m_save;

    StrayModals m_strays;
    QObject m_handlers; // owns the waits for expected modal windows
    int m_pending = 0; // modal windows expected that have not shown yet
    QStringList m_messages;
    int m_step = 0;
    QString m_what;
    int m_dragSteps = 0;       // drag steps that moved the thumb
    int m_unlabelledSteps = 0; // steps that ended on a shop whose type has no label
};

Session::Session(quint32 seed, const QTemporaryDir &dir)
    : m_seed(seed), m_dir(dir), m_random(seed), m_window(m_files), m_index(control<QLineEdit>(QStringLiteral("shopIndexEdit"))),
      m_scroll(control<QScrollBar>(QStringLiteral("shopScrollBar"))), m_type(control<QComboBox>(QStringLiteral("shopTypeList"))),
      m_save(control<QPushButton>(QStringLiteral("saveButton")))
{
    for (int slot = 1; slot <= 8; ++slot)
        m_slots[std::size_t(slot - 1)] = control<QComboBox>(QStringLiteral("slot%1List").arg(slot));

    writeUnusualFiles(dir);
    auto a = smallImage(ImageLayout::Headered, seed);
    a.name = "SESSION A";
    auto b = smallImage(ImageLayout::Headerless, seed + 1);
    b.name = "SESSION B";
    m_model.add(writeImage(dir, QStringLiteral("a.smc"), a), ImageLayout::Headered);
    m_model.add(writeImage(dir, QStringLiteral("b.sfc"), b), ImageLayout::Headerless);
    m_model.add(dir.filePath(QStringLiteral("exhirom.smc")), ImageLayout::Headered);
    m_model.add(dir.filePath(QStringLiteral("small-headerless.smc")), ImageLayout::Headerless);
    for (const auto &[path, image] : m_model.images)
        m_imagePaths << path;
    for (const char *name : {"empty.smc", "odd.smc", "short-headered.smc", "short-headerless.smc", "lorom.smc",
                             "lorom-headerless.sfc", "fifo.smc"}) {
        const QString path = dir.filePath(QLatin1String(name));
        m_refused.append({path, QFileInfo(path).isFile() ? readFile(path) : Bytes()}); // a pipe would block a read
    }
    m_missing = dir.filePath(QStringLiteral("missing.smc"));
    m_folder = dir.filePath(QStringLiteral("folder"));
    m_listing = listing(dir);

    m_window.show();
    if (!QTest::qWaitForWindowActive(&m_window))
        qFatal("the window does not become active");
}

void Session::run(int steps)
{
    const bool trace = qEnvironmentVariableIntValue("SHOP_SESSION_TRACE") != 0;
    for (m_step = 0; m_step < steps; ++m_step) {
        if (QApplication::activeWindow() != &m_window)
            reactivate(&m_window);
        m_what = QStringLiteral("(choosing)");
        act();
        m_unlabelledSteps += m_model.open && m_model.unlabelled() ? 1 : 0;
        if (trace)
            qInfo("%s", qPrintable(where()));
        SESSION_VERIFY(!QTest::currentTestFailed(), QStringLiteral("failed as above"));
        SESSION_VERIFY(m_pending == 0, QStringLiteral("an expected window did not show"));
        SESSION_VERIFY(m_strays.found.isEmpty(), QStringLiteral("unexpected ") + m_strays.found.join(u','));
        const QString window = windowMismatch();
        const QString files = m_step % 100 == 99 ? fileMismatch() : tableMismatch();
        SESSION_VERIFY(window.isEmpty() && files.isEmpty(), window.isEmpty() || files.isEmpty() ? window + files : window + u';' + files);
    }
    // The session reached what it is for. (Picks overwrite the codes without
    // a label as it goes on, so long sessions do not meet them more often.)
    const int enough = std::min(steps / 50, 20);
    SESSION_VERIFY(m_dragSteps >= enough, QStringLiteral("only %1 drag steps moved the thumb").arg(m_dragSteps));
    SESSION_VERIFY(m_unlabelledSteps >= enough, QStringLiteral("only %1 steps on a type without a label").arg(m_unlabelledSteps));
    qInfo("%d drag steps, %d steps on a type without a label", m_dragSteps, m_unlabelledSteps);

    // Quitting with unsaved picks asks; seeds 1, 2 and 3 quit in each of the
    // three ways, first cancelling, then saving (odd seeds) or discarding.
    if (m_model.open) {
        m_what = QStringLiteral("a pick before quitting");
        m_slots[0]->setFocus();
        QTest::keyClick(m_slots[0], m_model.shown[1] == 0xFF ? Qt::Key_Up : Qt::Key_Down);
        m_model.pick(1, std::uint8_t(m_model.shown[1] == 0xFF ? 0xFE : m_model.shown[1] + 1));
        SESSION_VERIFY(m_slots[0]->currentIndex() == m_model.shown[1], QStringLiteral("the pick was not taken"));
    }
    for (const QMessageBox::StandardButton answer :
         {QMessageBox::Cancel, m_seed % 2 ? QMessageBox::Save : QMessageBox::Discard}) {
        if (m_model.unsaved()) {
            expectModal([this, answer](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                SESSION_VERIFY(box && box->text().contains(QStringLiteral("are not saved")), QStringLiteral("no question"));
                this->answer(box, answer);
            });
            if (answer == QMessageBox::Save)
                m_model.save();
        }
        switch (m_seed % 3) {
        case 0:
            m_what = QStringLiteral("quit with the Quit button");
            QTest::mouseClick(control<QPushButton>(QStringLiteral("quitButton")), Qt::LeftButton);
            break;
        case 1:
            m_what = QStringLiteral("quit with Ctrl+Q");
            QTest::keyClick(&m_window, Qt::Key_Q, Qt::ControlModifier);
            break;
        default: m_what = QStringLiteral("close the window"); m_window.close();
        }
        SESSION_VERIFY(m_pending == 0, QStringLiteral("no question"));
        if (answer == QMessageBox::Cancel && m_model.unsaved()) {
            SESSION_VERIFY(m_window.isVisible(), QStringLiteral("the window closed on Cancel"));
            reactivate(&m_window);
        }
    }
    SESSION_VERIFY(!m_window.isVisible(), QStringLiteral("the window stays"));
    const QString mismatch = fileMismatch();
    SESSION_VERIFY(mismatch.isEmpty(), mismatch);
}

// Runs one action, chosen by weight: with an image open, and without.
void Session::act()
{
    struct Choice {
        void (Session::*action)();
        int open;
        int closed;
    };
    static constexpr std::array kChoices{
        Choice{&Session::pickByKeys, 7, 0},     Choice{&Session::pickInPopup, 2, 0}, Choice{&Session::scrollByKey, 4, 0},
        Choice{&Session::clickScrollBar, 3, 0}, Choice{&Session::dragThumb, 2, 0},   Choice{&Session::save, 2, 1},
        Choice{&Session::openImage, 1, 2},      Choice{&Session::openOther, 1, 1},   Choice{&Session::drop, 1, 1},
        Choice{&Session::about, 1, 1},          Choice{&Session::undoOrRedo, 2, 0},
        Choice{&Session::pickByTyping, 2, 0}};
    const auto weight = [this](const Choice &choice) { return m_model.open ? choice.open : choice.closed; };
    int total = 0;
    for (const Choice &choice : kChoices)
        total += weight(choice);
    int chosen = pick(0, total - 1);
    for (const Choice &choice : kChoices) {
        if (chosen < weight(choice))
            return (this->*choice.action)();
        chosen -= weight(choice);
    }
}

// --- actions

void Session::pickByKeys()
{
    const int list = pick(0, 2) == 0 ? 0 : pick(1, 8);
    QComboBox *box = pickList(list);
    const int last = box->count() - 1;
    int entry = shownEntry(list);
    const auto key = pickOf(std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End});
    const int presses = key == Qt::Key_Up || key == Qt::Key_Down ? pick(1, 3) : 1;
    m_what = QStringLiteral("%1 x%2 in %3").arg(QKeySequence(key).toString()).arg(presses).arg(box->objectName());
    box->setFocus();
    // Each press that moves to another entry is a pick of its own.
    for (int press = 0; press < presses; ++press) {
        QTest::keyClick(box, key);
        entry = key == Qt::Key_Up ? std::max(entry - 1, 0) : key == Qt::Key_Down ? std::min(entry + 1, last)
                                                                                 : key == Qt::Key_Home ? 0 : last;
        setShownEntry(list, entry);
    }
}

void Session::pickInPopup()
{
    const int list = pick(0, 2) == 0 ? 0 : pick(1, 8);
    QComboBox *box = pickList(list);
    const int entry = pick(0, box->count() - 1);
    const bool escape = pick(0, 7) == 0;
    // A click, or Space, F4 or Alt+Down.
    const QKeyCombination how = pickOf(std::array{QKeyCombination(), QKeyCombination(Qt::Key_Space),
                                                  QKeyCombination(Qt::Key_F4), Qt::AltModifier | Qt::Key_Down});
    m_what = QStringLiteral("open %1's list with %2, point at entry %3, %4")
                 .arg(box->objectName(), how.key() != Qt::Key_unknown ? QKeySequence(how).toString() : QStringLiteral("a click"))
                 .arg(entry)
                 .arg(escape ? QStringLiteral("Esc") : QStringLiteral("Return"));
    box->setFocus();
    if (how.key() != Qt::Key_unknown)
        QTest::keyClick(box, how.key(), how.keyboardModifiers());
    else
        QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView *view = box->view();
    SESSION_VERIFY(view->isVisible(), QStringLiteral("the list did not open"));
    // Where the pointer rests, the entry is current; Return takes it as a click would.
    view->setCurrentIndex(view->model()->index(entry, 0));
    QTest::keyClick(view, escape ? Qt::Key_Escape : Qt::Key_Return);
    SESSION_VERIFY(!view->isVisible(), QStringLiteral("the list did not close"));
    if (!escape)
        setShownEntry(list, entry);
}

// Types an entry's code into its list, each key to the window; the type
// list's extra entry goes by the code in its label.
void Session::pickByTyping()
{
    const int list = pick(0, 2) == 0 ? 0 : pick(1, 8);
    QComboBox *box = pickList(list);
    // The extra entry, when there is one, is often the one typed: its code is not its place.
    const bool extra = list == 0 && box->count() > kExtraTypeEntry && pick(0, 3) == 0;
    const int entry = extra ? kExtraTypeEntry : pick(0, box->count() - 1);
    const int code = list == 0 && entry == kExtraTypeEntry ? m_model.loadedType : entry;
    const QString typed = QString::asprintf(pick(0, 1) ? "%02x" : "%02X", code);
    const bool escape = pick(0, 7) == 0;
    m_what = QStringLiteral("type %1 in %2, %3").arg(typed, box->objectName(), escape ? QStringLiteral("Esc") : QStringLiteral("Return"));
    box->setFocus();
    for (const QChar key : typed)
        QTest::keyClick(m_window.windowHandle(), key.toLatin1());
    QTest::keyClick(m_window.windowHandle(), escape ? Qt::Key_Escape : Qt::Key_Return);
    const auto *search = box->findChild<QWidget *>(QStringLiteral("pickSearch"));
    SESSION_VERIFY(search && !search->isVisible(), QStringLiteral("the search did not close"));
    if (!escape)
        setShownEntry(list, entry);
}

void Session::scrollByKey()
{
    struct Step {
        Qt::Key key;
        int by;
    };
    static constexpr std::array kSteps{Step{Qt::Key_Left, -1},    Step{Qt::Key_Right, 1},    Step{Qt::Key_Up, -1},
                                       Step{Qt::Key_Down, 1},     Step{Qt::Key_PageUp, -5},  Step{Qt::Key_PageDown, 5},
                                       Step{Qt::Key_Home, -128},  Step{Qt::Key_End, 128}};
    const Step step = pickOf(kSteps);
    m_what = QStringLiteral("%1 on the scroll bar at %2").arg(QKeySequence(step.key).toString()).arg(m_model.scroll);
    m_scroll->setFocus();
    QTest::keyClick(m_scroll, step.key);
    m_model.moveTo(std::clamp(m_model.scroll + step.by, 0, 127));
}

void Session::clickScrollBar()
{
    struct Part {
        QStyle::SubControl control;
        const char *name;
        int by;
    };
    static constexpr std::array kParts{Part{QStyle::SC_ScrollBarSubLine, "left arrow", -1},
                                       Part{QStyle::SC_ScrollBarAddLine, "right arrow", 1},
                                       Part{QStyle::SC_ScrollBarSubPage, "track left of the thumb", -5},
                                       Part{QStyle::SC_ScrollBarAddPage, "track right of the thumb", 5}};
    const Part part = pickOf(kParts);
    const QList<int> xs = scrollBarPart(part.control);
    m_what = QStringLiteral("click the scroll bar's %1 at %2").arg(QLatin1String(part.name)).arg(m_model.scroll);
    if (xs.isEmpty()) { // no track on that side of the thumb near either end
        m_what += QStringLiteral(" (there is none)");
        return;
    }
    QTest::mouseClick(m_scroll, Qt::LeftButton, {}, QPoint(xs[pick(0, int(xs.size()) - 1)], m_scroll->height() / 2));
    m_model.moveTo(std::clamp(m_model.scroll + part.by, 0, 127));
}

void Session::dragThumb()
{
    const QList<int> thumb = scrollBarPart(QStyle::SC_ScrollBarSlider);
    SESSION_VERIFY(!thumb.isEmpty(), QStringLiteral("no thumb"));
    const QPoint start(thumb[pick(0, int(thumb.size()) - 1)], m_scroll->height() / 2);
    // Where the pressed point can go: the thumb from one end of the track to the other, and a little beyond.
    const int left = scrollBarPart(QStyle::SC_ScrollBarSubLine).constLast() + 1 + (start.x() - thumb.constFirst()) - 2;
    const int right = scrollBarPart(QStyle::SC_ScrollBarAddLine).constFirst() - (thumb.constLast() - start.x()) + 2;
    const int moves = pick(1, 5);
    const bool back = pick(0, 2) == 0; // the last move returns to where the drag began
    m_what = QStringLiteral("drag the thumb from %1 in %2 moves%3")
                 .arg(m_model.scroll)
                 .arg(moves)
                 .arg(back ? QStringLiteral(", back to the start") : QString());
    QTest::mousePress(m_scroll, Qt::LeftButton, {}, start);
    SESSION_VERIFY(m_scroll->isSliderDown(), QStringLiteral("the thumb was not taken"));
    QPoint at = start;
    for (int move = 1; move <= moves; ++move) {
        at = back && move == moves ? start : QPoint(pick(left, right), m_scroll->height() / 2);
        const int before = m_scroll->sliderPosition();
        QTest::mouseMove(m_scroll, at);
        m_what += QStringLiteral(" %1").arg(m_scroll->sliderPosition());
        if (m_scroll->sliderPosition() == before)
            continue;
        // Each step that moves the thumb saves the shop still shown ...
        ++m_dragSteps;
        m_model.save();
        const QString mismatch = tableMismatch();
        SESSION_VERIFY(mismatch.isEmpty(), QStringLiteral("during the drag, ") + mismatch);
        SESSION_VERIFY(m_index->text() == QString::number(m_model.index) && m_scroll->value() == m_model.scroll,
                       QStringLiteral("another shop shown during the drag"));
    }
    // ... and the new shop appears on release.
    const int target = m_scroll->sliderPosition();
    QTest::mouseRelease(m_scroll, Qt::LeftButton, {}, at);
    QCoreApplication::processEvents(); // messages held back during the drag would show now
    m_model.moveTo(target);
}

void Session::save()
{
    m_what = QStringLiteral("save with ");
    // The Save button is only enabled with an image open.
    switch (const int how = pick(0, m_model.open ? 4 : 2)) {
    case 0:
        m_what += QStringLiteral("Ctrl+S");
        QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier);
        break;
    case 1:
    case 2: useMenu(QStringLiteral("fileMenu"), QStringLiteral("saveAction"), Qt::Key_F, Qt::Key_S, how == 2); break;
    case 3:
        m_what += QStringLiteral("a click on Save");
        QTest::mouseClick(m_save, Qt::LeftButton);
        break;
    default:
        m_what += QStringLiteral("Space on Save");
        m_save->setFocus();
        QTest::keyClick(m_save, Qt::Key_Space);
    }
    if (m_model.open)
        m_model.save();
}

void Session::openImage()
{
    const QString path = m_imagePaths[pick(0, int(m_imagePaths.size()) - 1)];
    m_what = QStringLiteral("choose %1").arg(QFileInfo(path).fileName());
    bool goesOn = true;
    expectModal([this, path, &goesOn](QWidget *modal) {
        goesOn = answerUnsaved(QStringLiteral("opening"), {});
        choose(modal, path);
    });
    m_what += QStringLiteral(" after");
    startOpen();
    reactivate(&m_window);
    if (goesOn)
        m_model.openImage(m_model.images.at(path));
}

void Session::openOther()
{
    const int choice = pick(0, int(m_refused.size()) + 2);
    if (choice < m_refused.size()) {
        const QString path = m_refused[choice].first;
        // Refused before any question about unsaved picks.
        expectModal([this, path](QWidget *modal) {
            expectRefusal(path);
            choose(modal, path);
        });
        m_what = QStringLiteral("choose %1 after").arg(QFileInfo(path).fileName());
    } else if (choice == m_refused.size()) {
        // The dialog itself says that the file is not there, and stays open.
        expectModal([this](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            SESSION_VERIFY(dialog, QStringLiteral("no file dialog"));
            expectModal([this](QWidget *box) {
                auto *message = qobject_cast<QMessageBox *>(box);
                closeBox(box, message ? message->button(QMessageBox::Ok) : nullptr);
                SESSION_VERIFY(message && message->text().contains(QStringLiteral("not found")),
                               QStringLiteral("no message that the file is not there"));
            });
            typeUnacceptedName(dialog, m_missing);
            cancel(dialog);
        });
        m_what = QStringLiteral("type a missing file's name, then cancel, after");
    } else if (choice == m_refused.size() + 1) {
        // A folder's name opens the folder in the dialog.
        expectModal([this](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            SESSION_VERIFY(dialog, QStringLiteral("no file dialog"));
            typeUnacceptedName(dialog, m_folder);
            SESSION_VERIFY(QFileInfo(dialog->directory().path()) == QFileInfo(m_folder), QStringLiteral("the folder did not open"));
            cancel(dialog);
        });
        m_what = QStringLiteral("type a folder's name, then cancel, after");
    } else {
        expectModal([this](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            SESSION_VERIFY(dialog, QStringLiteral("no file dialog"));
            cancel(dialog);
        });
        m_what = QStringLiteral("cancel the dialog after");
    }
    startOpen();
    reactivate(&m_window);
}

void Session::drop()
{
    const int choice = pick(0, int(m_imagePaths.size() + m_refused.size()) + 1);
    const bool image = choice < m_imagePaths.size();
    const QString path = image                                             ? m_imagePaths[choice]
                         : choice < m_imagePaths.size() + m_refused.size() ? m_refused[choice - m_imagePaths.size()].first
                         : choice == m_imagePaths.size() + m_refused.size() ? m_missing
                                                                             : m_folder;
    m_what = QStringLiteral("drop %1 on the window").arg(QFileInfo(path).fileName());
    bool goesOn = false;
    if (image)
        goesOn = answerUnsaved(QStringLiteral("dropping"), {});
    else
        expectRefusal(path); // before any question about unsaved picks
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_window, &enter);
    SESSION_VERIFY(enter.isAccepted(), QStringLiteral("the drop was refused"));
    QDropEvent dropped(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_window, &dropped);
    QCoreApplication::processEvents(); // the file opens once the drop has ended
    if (image && goesOn)
        m_model.openImage(m_model.images.at(path));
    else
        reactivate(&m_window);
}

void Session::undoOrRedo()
{
    const bool undo = pick(0, 2) != 0;
    const QString entryName = undo ? QStringLiteral("undoAction") : QStringLiteral("redoAction");
    m_what = undo ? QStringLiteral("undo by") : QStringLiteral("redo by");
    const int how = pick(0, 3);
    if (how >= 2 && control<QAction>(entryName)->isEnabled()) {
        useMenu(QStringLiteral("editMenu"), entryName, Qt::Key_E, undo ? Qt::Key_U : Qt::Key_R, how == 3);
    } else {
        const QKeyCombination key = undo ? Qt::CTRL | Qt::Key_Z
                                    : how == 0 ? Qt::CTRL | Qt::Key_Y
                                               : Qt::CTRL | Qt::SHIFT | Qt::Key_Z;
        m_what += u' ' + QKeySequence(key).toString();
        QTest::keyClick(&m_window, key.key(), key.keyboardModifiers());
    }
    undo ? m_model.undo() : m_model.redo();
}

void Session::about()
{
    const auto close = pickOf(std::array{Qt::Key_Escape, Qt::Key_Return, Qt::Key_unknown});
    expectModal([this, close](QWidget *modal) {
        auto *ok = modal->findChild<QPushButton *>(QStringLiteral("okButton"));
        if (close == Qt::Key_unknown && ok)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            QTest::keyClick(modal, close == Qt::Key_unknown ? Qt::Key_Escape : close);
        SESSION_VERIFY(modal->objectName() == QStringLiteral("aboutWindow"), QStringLiteral("not About but ") + modal->objectName());
        SESSION_VERIFY(!modal->isVisible(), QStringLiteral("About stays"));
    });
    m_what = QStringLiteral("About, to be closed with %1, by")
                 .arg(close == Qt::Key_unknown ? QStringLiteral("OK") : QKeySequence(close).toString());
    if (const int how = pick(0, 2); how == 0) {
        m_what += QStringLiteral(" F1");
        QTest::keyClick(&m_window, Qt::Key_F1);
    } else {
        useMenu(QStringLiteral("optionsMenu"), QStringLiteral("aboutAction"), Qt::Key_O, Qt::Key_A, how == 2);
    }
    reactivate(&m_window);
}

// --- helpers

int Session::shownEntry(int list) const
{
    if (list > 0)
        return m_model.shown[std::size_t(list)];
    return m_model.shown[0] >= kExtraTypeEntry ? kExtraTypeEntry : m_model.shown[0];
}

void Session::setShownEntry(int list, int entry)
{
    if (list > 0)
        m_model.pick(list, std::uint8_t(entry));
    else
        m_model.pick(0, entry == kExtraTypeEntry ? m_model.loadedType : std::uint8_t(entry));
}

// The x positions along the middle of the scroll bar that hit part.
QList<int> Session::scrollBarPart(QStyle::SubControl part) const
{
    QStyleOptionSlider option;
    option.initFrom(m_scroll);
    option.orientation = Qt::Horizontal;
    option.state |= QStyle::State_Horizontal;
    option.minimum = m_scroll->minimum();
    option.maximum = m_scroll->maximum();
    option.sliderPosition = m_scroll->sliderPosition();
    option.sliderValue = m_scroll->value();
    option.singleStep = m_scroll->singleStep();
    option.pageStep = m_scroll->pageStep();
    QList<int> xs;
    for (int x = 0; x < m_scroll->width(); ++x)
        if (m_scroll->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, QPoint(x, m_scroll->height() / 2),
                                                     m_scroll) == part)
            xs << x;
    return xs;
}

// Opens a menu of the menu bar and takes an entry: by mouse, or with Alt and
// the menu's letter, then the entry's letter.
void Session::useMenu(const QString &menuName, const QString &entryName, Qt::Key title, Qt::Key mnemonic, bool byKeys)
{
    auto *menu = control<QMenu>(menuName);
    QAction *entry = control<QAction>(entryName);
    m_what += QStringLiteral(" %1 > %2 by %3")
                  .arg(menu->title().remove(u'&'), entry->text().remove(u'&'),
                       byKeys ? QStringLiteral("keys") : QStringLiteral("mouse"));
    if (byKeys)
        QTest::keyClick(&m_window, title, Qt::AltModifier);
    else
        QTest::mouseClick(m_window.menuBar(), Qt::LeftButton, {}, m_window.menuBar()->actionGeometry(menu->menuAction()).center());
    SESSION_VERIFY(menu->isVisible(), QStringLiteral("the menu did not open"));
    if (byKeys)
        QTest::keyClick(menu, mnemonic);
    else
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

// Shows the file dialog as the user may: Ctrl+O or File > Open ROM.
void Session::startOpen()
{
    if (const int how = pick(0, 2); how == 0) {
        m_what += QStringLiteral(" Ctrl+O");
        QTest::keyClick(&m_window, Qt::Key_O, Qt::ControlModifier);
    } else {
        useMenu(QStringLiteral("fileMenu"), QStringLiteral("openAction"), Qt::Key_F, Qt::Key_O, how == 2);
    }
}

void Session::expectModal(std::function<void(QWidget *)> action)
{
    ++m_pending;
    whenModal(
        [this, action = std::move(action)](QWidget *modal) {
            --m_pending;
            action(modal);
        },
        &m_handlers);
}

// Opening another image with unsaved picks asks first: the answer is chosen
// here (Save, Discard or Cancel), and next() runs if the opening goes on,
// before the question closes, to expect what follows it. Returns whether
// the opening goes on.
bool Session::answerUnsaved(const QString &doing, std::function<void()> next)
{
    if (!m_model.unsaved()) {
        if (next)
            next();
        return true;
    }
    static constexpr std::array kAnswers{QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel};
    const QMessageBox::StandardButton answer = pickOf(kAnswers);
    m_what += QStringLiteral(" (%1 asks, answered %2)")
                  .arg(doing, answer == QMessageBox::Save      ? QStringLiteral("Save")
                              : answer == QMessageBox::Discard ? QStringLiteral("Discard")
                                                               : QStringLiteral("Cancel"));
    if (answer == QMessageBox::Save)
        m_model.save();
    expectModal([this, answer, next](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        SESSION_VERIFY(box && box->text().contains(QStringLiteral("are not saved")), QStringLiteral("no question"));
        if (answer != QMessageBox::Cancel && next)
            next();
        this->answer(box, answer);
    });
    return answer != QMessageBox::Cancel;
}

// The editor refuses path in a message box naming it.
void Session::expectRefusal(const QString &path)
{
    ++m_model.errors;
    const bool wasOpen = m_model.open;
    expectModal([this, path, wasOpen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        const QString text = box ? box->text() : QString();
        m_messages << text;
        closeBox(modal, box ? box->button(QMessageBox::Ok) : nullptr);
        SESSION_VERIFY(text.startsWith(QStringLiteral("Could not open \u201C%1\u201D.").arg(path)), text);
        SESSION_VERIFY(text.contains(QStringLiteral("The image that was open stays open")) == wasOpen, text);
    });
}

// Types a name and presses Open; the dialog does not take it and stays.
void Session::typeUnacceptedName(QFileDialog *dialog, const QString &path)
{
    typeFileName(dialog, path);
    static_cast<QDialog *>(dialog)->accept();
    SESSION_VERIFY(dialog->isVisible(), QStringLiteral("the dialog took ") + path);
}

void Session::cancel(QFileDialog *dialog)
{
    switch (pick(0, 2)) {
    case 0: QTest::keyClick(dialog, Qt::Key_Escape); break;
    case 1:
        QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        break;
    default: dialog->reject();
    }
    SESSION_VERIFY(!dialog->isVisible(), QStringLiteral("the dialog stays"));
}

// Presses one of a question's buttons: with the mouse, or Return for the
// default button (Save), Esc for Cancel.
void Session::answer(QMessageBox *box, QMessageBox::StandardButton button)
{
    const bool byKey = button != QMessageBox::Discard && pick(0, 1) == 0;
    if (byKey)
        QTest::keyClick(box, button == QMessageBox::Cancel ? Qt::Key_Escape : Qt::Key_Return);
    else
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    SESSION_VERIFY(!box->isVisible(), QStringLiteral("the question stays"));
}

void Session::closeBox(QWidget *box, QAbstractButton *ok)
{
    const int how = pick(0, 2);
    if (how == 2 && ok)
        QTest::mouseClick(ok, Qt::LeftButton);
    else
        QTest::keyClick(box, how == 0 ? Qt::Key_Escape : Qt::Key_Return);
    SESSION_VERIFY(!box->isVisible(), QStringLiteral("the message stays"));
}

// --- checks

QString Session::windowMismatch() const
{
    QStringList problems;
    const auto expect = [&problems](const char *what, const auto &shown, const auto &modelled) {
        if (shown != modelled)
            problems << QStringLiteral("%1 shows %2, the model %3").arg(QLatin1String(what)).arg(shown).arg(modelled);
    };
    expect("the shop index", m_index->text(), QString::number(m_model.index));
    expect("the scroll bar", m_scroll->value(), m_model.scroll);
    expect("the thumb", m_scroll->sliderPosition(), m_model.scroll);
    const bool extra = m_model.open && m_model.unlabelled();
    expect("the type list's length", m_type->count(), kExtraTypeEntry + (extra ? 1 : 0));
    if (extra)
        expect("the extra type entry", m_type->itemText(kExtraTypeEntry),
               QString::asprintf("0x%02X: Unknown", m_model.loadedType));
    expect("the type list", m_type->currentIndex(), shownEntry(0));
    for (int slot = 1; slot <= 8; ++slot)
        expect(qPrintable(m_slots[std::size_t(slot - 1)]->objectName()), m_slots[std::size_t(slot - 1)]->currentIndex(),
               int(m_model.shown[std::size_t(slot)]));
    expect("the title", m_window.windowHandle()->title(),
           m_model.open ? EditorController::title() + QStringLiteral(" - ") + imageName(*m_model.open) +
                              (m_model.unsaved() ? QStringLiteral("*") : QString())
                        : EditorController::title());
    expect("the records written", m_files.writes, m_model.writes);
    expect("Undo enabled", control<QAction>(QStringLiteral("undoAction"))->isEnabled() ? 1 : 0, m_model.canUndo() ? 1 : 0);
    expect("Redo enabled", control<QAction>(QStringLiteral("redoAction"))->isEnabled() ? 1 : 0, m_model.canRedo() ? 1 : 0);
    for (QWidget *control : std::initializer_list<QWidget *>{m_index, m_scroll, m_type, m_slots[0], m_slots[7], m_save})
        expect(qPrintable(control->objectName() + QStringLiteral(" enabled")), control->isEnabled() ? 1 : 0,
               m_model.open ? 1 : 0);
    expect("the count of messages", m_messages.size(), m_model.errors);
    if (QWidget *left = QApplication::activeModalWidget(); left && left->isVisible())
        problems << QStringLiteral("%1 is still open").arg(left->metaObject()->className());
    if (QWidget *popup = QApplication::activePopupWidget())
        problems << QStringLiteral("%1 is still open").arg(popup->metaObject()->className());
    if (!m_window.isVisible())
        problems << QStringLiteral("the window closed");
    return problems.join(QStringLiteral("; "));
}

QString Session::tableMismatch() const
{
    for (const auto &[path, image] : m_model.images) {
        const Bytes disk = tableOnDisk(image);
        const Bytes model = tableInModel(image);
        if (disk.size() != model.size())
            return QStringLiteral("the table of %1 cannot be read").arg(QFileInfo(path).fileName());
        for (int shop = 0; shop < 128; ++shop)
            if (!std::equal(model.begin() + shop * 9, model.begin() + shop * 9 + 9, disk.begin() + shop * 9))
                return QStringLiteral("shop %1 of %2 differs from the model").arg(shop).arg(QFileInfo(path).fileName());
    }
    return {};
}

QString Session::fileMismatch() const
{
    for (const auto &[path, image] : m_model.images)
        if (const QList<qint64> changed = changedOffsets(image.bytes, readFile(path)); !changed.isEmpty())
            return QStringLiteral("%1 differs from the model at offset %2").arg(QFileInfo(path).fileName()).arg(changed.first());
    for (const auto &[path, bytes] : m_refused)
        if (QFileInfo(path).isFile() && readFile(path) != bytes)
            return QStringLiteral("%1 changed").arg(QFileInfo(path).fileName());
    if (listing(m_dir) != m_listing)
        return QStringLiteral("files were added or resized: %1").arg(listing(m_dir).join(u','));
    return {};
}

} // namespace

// Settings of its own; and the offscreen platform says what it cannot do for
// popups at every one.
void TestWindowSession::initTestCase()
{
    isolateSettings();
    static const QtMessageHandler report = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(QStringLiteral("This plugin does not support")))
            report(type, context, message);
    });
}

void TestWindowSession::session_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("steps");
    bool single = false;
    const quint32 seed = qEnvironmentVariable("SHOP_SESSION_SEED").toUInt(&single);
    bool stepsSet = false;
    const int steps = qEnvironmentVariable("SHOP_SESSION_STEPS").toInt(&stepsSet);
    for (const quint32 each : single ? QList<quint32>{seed} : QList<quint32>{1, 2, 3})
        QTest::addRow("seed %u", each) << each << (stepsSet ? steps : 1000);
}

void TestWindowSession::session()
{
    QFETCH(quint32, seed);
    QFETCH(int, steps);
    qInfo("seed %u, %d steps (SHOP_SESSION_SEED=%u SHOP_SESSION_STEPS=%d to rerun)", seed, steps, seed, steps);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Session session(seed, dir);
    session.run(steps);
}

QTEST_MAIN(TestWindowSession)
#include "tst_windowsession.moc"
