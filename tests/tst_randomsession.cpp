#include "EditorController.h"
#include "MemoryView.h"
#include "SessionModel.h"
#include "TestSupport.h"

#include <QUndoStack>
#include <QRandomGenerator>
#include <QTest>

#include <cerrno>

using rom::ImageLayout;

// Long random sessions of user actions, checked after every action against a
// model of what each image file must hold and what the lists must show.
class TestRandomSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void session_data();
    void session();
};

void TestRandomSession::session_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 2u, 3u, 7u, 20261207u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestRandomSession::session()
{
    QFETCH(quint32, seed);
    QTemporaryDir dir;
    SessionModel model;
    for (const auto layout : {ImageLayout::Headered, ImageLayout::Headerless}) {
        const QString name = layout == ImageLayout::Headered ? QStringLiteral("a.smc") : QStringLiteral("b.sfc");
        model.add(writeImage(dir, name, smallImage(layout, seed)), layout);
    }
    Bytes lorom = demo::makeDemoImage(smallImage(ImageLayout::Headered, seed));
    lorom[0x101D5] = 0x20;
    const QStringList badPaths = {writeFile(dir, QStringLiteral("lorom.smc"), lorom),
                                  writeFile(dir, QStringLiteral("short.smc"), Bytes(lorom.begin(), lorom.end() - 9)),
                                  dir.filePath(QStringLiteral("missing.smc")), dir.path()};

    FaultyFileAccess files; // counts the writes
    MemoryView view;
    MemoryOpenDialog dialog;
    EditorController controller(view, view, dialog, files);
    view.attach(controller);
    QRandomGenerator random(seed);
    auto pick = [&](int first, int last) { return first + int(random.bounded(quint32(last - first + 1))); };
    // Opening another image or the session's end with unsaved picks asks
    // first: what the answer does, and whether it lets the action through.
    const auto answerUnsaved = [&]() {
        if (!model.unsaved())
            return true;
        const auto answer = EditorPrompts::Unsaved(pick(0, 2));
        view.unsavedAnswers.push_back(answer);
        if (answer == EditorPrompts::Unsaved::Save)
            model.save();
        else if (answer == EditorPrompts::Unsaved::Discard)
            model.discard();
        return answer != EditorPrompts::Unsaved::Cancel;
    };

    for (int step = 0; step < 1500; ++step) {
        const int action = pick(0, model.open ? 13 : 3);
        QString what;
        bool committed = true; // what the session's end returned was expected
        if (action == 0) {
            auto &image = std::next(model.images.begin(), pick(0, 1))->second;
            what = "open " + image.path;
            dialog.queue(image.path);
            if (answerUnsaved())
                model.openImage(image);
            controller.open();
        } else if (action == 1) {
            what = "open a bad file or cancel";
            const int choice = pick(0, int(badPaths.size()));
            dialog.queue(choice < badPaths.size() ? std::optional(badPaths[choice]) : std::nullopt);
            if (choice < badPaths.size())
                ++model.errors; // refused before any question about picks
            controller.open();
        } else if (action == 2) {
            what = "save";
            pick(0, 1) ? controller.save() : controller.save();
            model.save();
        } else if (action == 3) {
            what = "back to the window";
            controller.windowActivated(); // no other program changed a file
        } else if (action <= 5) {
            const int value = std::clamp(model.scroll + std::array{-5, -1, 1, 5}[pick(0, 3)], 0, 127);
            what = QStringLiteral("scroll to %1").arg(value);
            view.setScrollValue(value);
            model.moveTo(value);
        } else if (action == 6) {
            const int value = pick(0, 127);
            const int steps = pick(0, 4);
            what = QStringLiteral("drag to %1 in %2 steps").arg(value).arg(steps);
            view.dragTo(value, steps);
            if (steps > 0)
                model.save(); // the first drag step saves the shop still shown
            model.moveTo(value);
        } else if (action == 7) {
            const int entry = pick(0, model.unlabelled() ? 54 : 53);
            what = QStringLiteral("pick type entry %1").arg(entry);
            view.pick(0, entry);
            model.pick(0, entry == 54 ? model.loadedType : std::uint8_t(entry));
        } else if (action <= 9) {
            const int slot = pick(1, 8), item = pick(0, 255);
            what = QStringLiteral("pick item %1 in slot %2").arg(item).arg(slot);
            view.pick(slot, item);
            model.pick(slot, std::uint8_t(item));
        } else if (action == 10) {
            what = "undo";
            controller.undoStack()->undo();
            model.undo();
        } else if (action == 11) {
            what = "redo";
            controller.undoStack()->redo();
            model.redo();
        } else if (action == 12) {
            // Another program then cancels the logout: the session goes on.
            const bool mayAsk = pick(0, 1);
            what = mayAsk ? "the session ends, asking first" : "the session ends, asking nothing";
            if (!mayAsk)
                model.save();
            const bool goesOn = !mayAsk || answerUnsaved();
            committed = controller.commitData(mayAsk) == goesOn;
        } else {
            const bool undo = pick(0, 1);
            what = undo ? "undo while the file cannot be read" : "redo while the file cannot be read";
            files.readError = EIO;
            undo ? controller.undoStack()->undo() : controller.undoStack()->redo();
            files.readError = 0;
            model.stepUnread(undo);
        }

        const QByteArray where = QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(what).toUtf8();
        QVERIFY2(committed, where.constData());
        for (const auto &[path, image] : model.images)
            QVERIFY2(tableOnDisk(image) == tableInModel(image), where.constData());
        QVERIFY2(files.writes == model.writes, where.constData()); // nothing written that did not change
        QVERIFY2(view.shopIndexText() == QString::number(model.index), where.constData());
        QVERIFY2(view.typeSelection() == (model.shown[0] > 0x35 ? 54 : model.shown[0]), where.constData());
        QVERIFY2(view.typeEntries().size() == (model.unlabelled() ? 55 : 54), where.constData());
        for (int slot = 1; slot <= 8; ++slot)
            QVERIFY2(view.slotSelection(slot) == model.shown[std::size_t(slot)], where.constData());
        QVERIFY2(view.errors().size() == model.errors, where.constData());
        QVERIFY2(view.modified() == model.unsaved(), where.constData());
        QVERIFY2(view.undoState().canUndo == model.canUndo() && view.undoState().canRedo == model.canRedo(),
                 where.constData());
    }
    // Quitting with unsaved picks asks: Save writes them, Discard drops them.
    const auto answer = model.unsaved() && seed % 2 ? EditorPrompts::Unsaved::Save : EditorPrompts::Unsaved::Discard;
    view.unsavedAnswers.push_back(answer);
    if (answer == EditorPrompts::Unsaved::Save)
        model.save();
    controller.quit();
    QVERIFY(view.ended());
    for (const auto &[path, image] : model.images)
        QVERIFY(readFile(path) == image.bytes);
    QVERIFY(view.misuses().isEmpty());
}

QTEST_GUILESS_MAIN(TestRandomSession)
#include "tst_randomsession.moc"
