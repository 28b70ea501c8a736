#include "ItemNamesInUse.h"

#include "EditorMessages.h"
#include "ImagePath.h"
#include "EditorView.h"
#include "ShopTableModel.h"
#include "TableTools.h"

#include <QSettings>

namespace {

const QString kNamesFileKey = QStringLiteral("itemNames/file");

QString decoded(const std::string &path) { return image_path::shownName(path); }

} // namespace

ItemNamesInUse::ItemNamesInUse(EditorView &view, EditorPrompts &prompts, ShopTableModel &table)
    : m_view(view), m_prompts(prompts), m_table(table)
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
    if (!path.empty() && use(path, tr("The item names in use stay.")))
        QSettings().setValue(kNamesFileKey, QByteArray::fromStdString(path));
}

void ItemNamesInUse::useBuiltIn()
{
    apply(rom::ItemNames());
    QSettings().remove(kNamesFileKey);
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
                             .arg(EditorMessages::quoted(decoded(path)), EditorMessages::sentence(error.reasonText())));
}

// Reads a names file; on success every list shows its names. On failure
// the message names what is wrong and what happens instead (outcome).
bool ItemNamesInUse::use(const std::string &path, const QString &outcome)
{
    rom::ItemNames names;
    if (const rom::ToolError error = rom::TableTools::readItemNames(path, names); !error.ok()) {
        m_prompts.showError(tr("Could not use the item names in %1.\n\n%2\n\n%3")
                             .arg(EditorMessages::quoted(decoded(path)), EditorMessages::sentence(error.reasonText()), outcome));
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
