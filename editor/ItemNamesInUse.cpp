#include "ItemNamesInUse.h"

#include "EditorMessages.h"
#include "ImagePath.h"
#include "EditorView.h"
#include "NameTableChoice.h"
#include "ShopDocument.h"
#include "ShopTableModel.h"
#include "TableTools.h"

#include <QSettings>

using image_path::shownName;

namespace {

const QString kNamesFileKey = QStringLiteral("itemNames/file");
// Whether the names last chosen were an image's.
const QString kFromImagesKey = QStringLiteral("itemNames/fromImages");

// Where the names chosen for images of an internal name are remembered.
QString imageKey(const std::string &internalName)
{
    return QStringLiteral("imageNames/") + QString::fromLatin1(QByteArray::fromStdString(internalName).toHex());
}

} // namespace

ItemNamesInUse::ItemNamesInUse(EditorView &view, EditorPrompts &prompts, ShopTableModel &table,
                               ShopDocument &document)
    : m_view(view), m_prompts(prompts), m_table(table), m_document(document)
{
}

QString ItemNamesInUse::label(std::uint8_t code) const
{
    const std::string_view label = m_names.label(code);
    return QString::fromUtf8(label.data(), qsizetype(label.size()));
}

void ItemNamesInUse::start(const std::string &namesFile)
{
    if (!namesFile.empty()) {
        m_forThisRun = true;
        use(namesFile, tr("The built-in item names are used."));
        return;
    }
    const QByteArray remembered = QSettings().value(kNamesFileKey).toByteArray();
    if (!remembered.isEmpty())
        use(remembered.toStdString(), tr("The built-in item names are used. Choose a names file with "
                                                     "Options > Item Names..., or stay with Options > Built-in Item "
                                                     "Names."));
}

void ItemNamesInUse::choose()
{
    const std::string path = m_prompts.chooseFile(EditorPrompts::FileChoice::ItemNamesToRead);
    if (path.empty() || !use(path, tr("The item names in use stay.")))
        return;
    QSettings settings;
    settings.setValue(kNamesFileKey, QByteArray::fromStdString(path));
    settings.remove(kFromImagesKey);
}

void ItemNamesInUse::useBuiltIn()
{
    apply(rom::ItemNames());
    QSettings settings;
    settings.remove(kNamesFileKey);
    settings.remove(kFromImagesKey);
}

void ItemNamesInUse::chooseFromImage()
{
    std::optional<NameTableChoice> choice = readNameTable();
    if (!choice || !m_prompts.chooseNameTable(*choice, m_document.image().path()))
        return;
    if (choice->names().mostlyUnmapped() &&
        !m_prompts.confirm(tr("More than half of the bytes behind these names have no entry in the table file, so "
                              "the lists would show them as [HH]: the address, the entry length or the table file "
                              "may be wrong.\n\nUse these names anyway?")))
        return;
    const auto names = choice->names().itemNames();
    if (const auto *valid = std::get_if<rom::ItemNames>(&names))
        apply(*valid);
    QSettings settings;
    settings.setValue(imageKey(m_document.internalName()), choice->description());
    settings.setValue(kFromImagesKey, true);
}

void ItemNamesInUse::imageOpened()
{
    if (!m_forThisRun && QSettings().value(kFromImagesKey).toBool())
        useRemembered();
}

// The names remembered for images of the open one's internal name; without
// any, those in use before images' names were chosen.
void ItemNamesInUse::useRemembered()
{
    const QVariantMap description = QSettings().value(imageKey(m_document.internalName())).toMap();
    if (std::optional<NameTableChoice> choice = description.isEmpty() ? std::nullopt : readNameTable();
        choice && choice->ready()) {
        if (const auto names = choice->names().itemNames(); std::holds_alternative<rom::ItemNames>(names)) {
            apply(std::get<rom::ItemNames>(names));
            return;
        }
    }
    const QByteArray file = QSettings().value(kNamesFileKey).toByteArray();
    if (file.isEmpty() || !use(file.toStdString(), tr("The built-in item names are used.")))
        apply(rom::ItemNames());
}

// The open image's cartridge, in a choice of where its names are: the
// one remembered for images of its internal name, if any.
std::optional<NameTableChoice> ItemNamesInUse::readNameTable()
{
    rom::CartridgeBytes cartridge;
    if (const rom::RomError error = m_document.image().readCartridge(cartridge); error != rom::RomError::None) {
        m_prompts.showError(tr("Could not read the names in %1.\n\n%2")
                                .arg(EditorMessages::quoted(m_document.fileName()), EditorMessages::reason(error)));
        return std::nullopt;
    }
    NameTableChoice choice(std::move(cartridge));
    if (const QVariant remembered = QSettings().value(imageKey(m_document.internalName())); remembered.isValid())
        choice.restore(remembered.toMap());
    return choice;
}

void ItemNamesInUse::exportNames()
{
    const std::string path = m_prompts.chooseFile(EditorPrompts::FileChoice::ItemNamesToWrite);
    if (path.empty())
        return;
    const std::string text = m_names.toText();
    // No image to name: the open one is refused as every image is.
    const rom::ToolError error = rom::TableTools::writeOutput(
        path, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), {});
    if (!error.ok())
        m_prompts.showError(tr("Could not write the item names to %1.\n\n%2")
                             .arg(EditorMessages::quoted(shownName(path)), EditorMessages::sentence(error.reasonText())));
}

// Reads a names file; on success every list shows its names. On failure
// the message names what is wrong and what happens instead (outcome).
bool ItemNamesInUse::use(const std::string &path, const QString &outcome)
{
    rom::ItemNames names;
    if (const rom::ToolError error = rom::TableTools::readItemNames(path, names); !error.ok()) {
        m_prompts.showError(tr("Could not use the item names in %1.\n\n%2\n\n%3")
                             .arg(EditorMessages::quoted(shownName(path)), EditorMessages::sentence(error.reasonText()), outcome));
        return false;
    }
    apply(names);
    return true;
}

void ItemNamesInUse::apply(const rom::ItemNames &names)
{
    m_names = names;
    QStringList labels;
    labels.reserve(rom::ItemNames::kCount);
    for (int code = 0; code < rom::ItemNames::kCount; ++code) {
        const std::string_view label = m_names.label(code);
        labels.append(QString::fromUtf8(label.data(), qsizetype(label.size())));
    }
    m_view.setItemLabels(labels);
    m_table.setItemNames(m_names);
}
