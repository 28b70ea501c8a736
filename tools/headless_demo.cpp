// Until the window exists, the program shows its editing flow on a synthetic
// image in a temporary folder, printing what a user would see.
#include "DemoImage.h"
#include "EditorController.h"
#include "ItemLabels.h"
#include "MemoryView.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void print(const QString &line) { std::printf("%s\n", line.toUtf8().constData()); }

void printShop(const MemoryView &view)
{
    print(QStringLiteral("Shop %1: %2").arg(view.shopIndexText(), view.typeEntries().value(view.typeSelection())));
    for (int slot = 1; slot <= rom::ShopRecord::kSlotCount; ++slot)
        print(QStringLiteral("  Item Slot %1: %2")
                  .arg(slot)
                  .arg(QString::fromLatin1(rom::ItemLabels::label(view.slotSelection(slot)).data())));
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("demo.smc"));
    const auto original = demo::makeDemoImage({});
    if (const std::string error = demo::writeImageFile(path.toStdString(), original, false); !error.empty()) {
        std::fprintf(stderr, "shop-editor: %s\n", error.c_str());
        return 1;
    }

    MemoryView view;
    MemoryOpenDialog dialog;
    EditorController controller(view, dialog);
    view.attach(controller);
    controller.Form_Load();

    print(QStringLiteral("File > Open ROM: %1").arg(path));
    dialog.queue(path);
    controller.mnuOpen_Click();
    print(QStringLiteral("Title: \"%1\"").arg(view.title()));
    printShop(view);

    print(QStringLiteral("\nScroll to shop 1 (saves shop 0 as shown, then loads shop 1)"));
    view.setScrollValue(1);
    printShop(view);

    print(QStringLiteral("\nPick item 0x2A in slot 3 and press Save"));
    view.setSlotSelection(3, 0x2A);
    controller.SaveCMD_Click();
    printShop(view);

    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray now = file.readAll();
    for (qsizetype offset = 0; offset < now.size(); ++offset)
        if (std::uint8_t(now[offset]) != original[std::size_t(offset)])
            print(QStringLiteral("Changed in the file: offset 0x%1, 0x%2 -> 0x%3")
                      .arg(offset, 0, 16)
                      .arg(original[std::size_t(offset)], 2, 16, QLatin1Char('0'))
                      .arg(std::uint8_t(now[offset]), 2, 16, QLatin1Char('0')));
    for (const QString &error : view.errors())
        print(QStringLiteral("Error: %1").arg(error));

    print(QStringLiteral("\nQuit"));
    controller.cmdOK_Click();
    return view.errors().isEmpty() ? 0 : 1;
}
