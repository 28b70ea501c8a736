#include "NameTableChoice.h"

#include "AddressText.h"
#include "EditorMessages.h"
#include "ImagePath.h"
#include "NameTable.h"
#include "NameTools.h"
#include "TableTools.h"

using rom::NameTableError;
using rom::NameTableField;

namespace {

const QString kTablePathKey = QStringLiteral("tableFile");
const QString kTableTextKey = QStringLiteral("table");
const std::array<QString, NameTableChoice::FieldCount> kFieldKeys = {
    kTablePathKey, QStringLiteral("address"), QStringLiteral("entryLength"), QStringLiteral("skip"),
    QStringLiteral("codes")};

QString message(const std::string &text) { return EditorMessages::sentence(text); }

NameTableChoice::Field fieldOf(NameTableField field)
{
    switch (field) {
    case NameTableField::Address: return NameTableChoice::AddressField;
    case NameTableField::EntryLength: return NameTableChoice::LengthField;
    case NameTableField::Skip: return NameTableChoice::SkipField;
    case NameTableField::Codes: return NameTableChoice::CodesField;
    }
    return NameTableChoice::AddressField;
}

} // namespace

NameTableChoice::NameTableChoice(rom::CartridgeBytes cartridge) : m_cartridge(std::move(cartridge))
{
    m_texts[LengthField] = QStringLiteral("16");
    m_texts[SkipField] = QStringLiteral("0");
    m_texts[CodesField] = QStringLiteral("00-FE");
    m_problems[TableField] = tr("Choose a table file, or find the names with Find...");
    readFields();
}

void NameTableChoice::setTableFile(const std::string &path)
{
    m_texts[TableField] = image_path::shownName(path);
    m_tablePath = path;
    rom::TableFile table;
    if (const rom::ToolError error = rom::NameTools::readTableFile(path, table); !error.ok()) {
        m_table.reset();
        m_problems[TableField] = message(error.reasonText());
    } else {
        m_table = std::move(table);
        m_problems[TableField].clear();
    }
    tableChanged();
}

void NameTableChoice::setText(Field field, const QString &text)
{
    if (field == TableField)
        return setTableFile(image_path::fileText(text));
    m_texts[field] = text;
    readFields();
}

QString NameTableChoice::tableNote() const
{
    return m_table && m_table->skippedTotal() > 0 ? QString::fromStdString(m_table->skippedSummary()) : QString();
}

bool NameTableChoice::ready() const
{
    return m_reader && m_layout &&
           std::all_of(m_problems.begin(), m_problems.end(), [](const QString &problem) { return problem.isEmpty(); });
}

QStringList NameTableChoice::preview() const
{
    QStringList lines;
    lines.reserve(previewCount());
    for (int row = 0; row < previewCount(); ++row)
        lines << previewLine(row);
    return lines;
}

int NameTableChoice::previewCount() const { return ready() ? m_layout->count() : 0; }

QString NameTableChoice::previewLine(int row) const
{
    // Made once: the lines are read again at every change of a field.
    static const std::array<QString, 256> kCodes = [] {
        std::array<QString, 256> codes;
        for (int code = 0; code < int(codes.size()); ++code)
            codes[std::size_t(code)] = QStringLiteral("%1: ").arg(code, 2, 16, QChar(u'0')).toUpper();
        return codes;
    }();
    const int code = m_layout->firstCode + row;
    const std::string name = m_reader->decodeCode(m_cartridge, code, m_padding).text;
    return kCodes[std::size_t(code)] + QString::fromUtf8(name.data(), qsizetype(name.size()));
}

const rom::DecodedNames &NameTableChoice::names() const
{
    if (!m_names)
        m_names = ready() ? m_reader->decode(m_cartridge) : rom::DecodedNames();
    return *m_names;
}

std::variant<std::vector<rom::NameTablePlacement>, QString> NameTableChoice::find(const QString &known) const
{
    std::vector<rom::KnownName> names;
    for (const QString &line : known.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.trimmed().isEmpty())
            continue;
        auto parsed = rom::KnownName::parse(line.trimmed().toStdString());
        if (const auto *error = std::get_if<rom::SearchError>(&parsed))
            return message(error->message());
        names.push_back(std::get<rom::KnownName>(std::move(parsed)));
    }
    auto found = rom::RelativeSearch::find(m_cartridge, names);
    if (const auto *error = std::get_if<rom::SearchError>(&found))
        return message(error->message());
    return std::get<rom::SearchResult>(std::move(found)).placements;
}

void NameTableChoice::use(const rom::NameTablePlacement &placement)
{
    m_table = placement.table;
    tableChanged();
    m_tablePath.clear();
    m_texts[TableField] = tr("(the table Find learnt)");
    m_problems[TableField].clear();
    const std::optional<std::uint32_t> snes = rom::hiRomAddress(placement.layout.start);
    m_texts[AddressField] = QString::fromStdString(snes ? rom::AddressText::snes(*snes)
                                                        : rom::AddressText::offset(placement.layout.start));
    m_texts[LengthField] = QString::number(placement.layout.entryLength);
    m_texts[SkipField] = QString::number(placement.layout.skip);
    m_texts[CodesField] = QStringLiteral("%1-%2")
                              .arg(placement.layout.firstCode, 2, 16, QChar(u'0'))
                              .arg(placement.layout.lastCode, 2, 16, QChar(u'0'))
                              .toUpper();
    readFields();
}

QString NameTableChoice::saveTable(const std::string &path, const std::string &image) const
{
    const std::string text = tableText();
    const rom::ToolError error = rom::TableTools::writeOutput(
        path, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), {image});
    return error.ok() ? QString() : message(error.reasonText());
}

QVariantMap NameTableChoice::description() const
{
    QVariantMap description;
    for (int field = AddressField; field < FieldCount; ++field)
        description.insert(kFieldKeys[std::size_t(field)], m_texts[std::size_t(field)]);
    if (!m_tablePath.empty())
        description.insert(kTablePathKey, QByteArray::fromStdString(m_tablePath));
    else
        description.insert(kTableTextKey, QByteArray::fromStdString(tableText()));
    return description;
}

void NameTableChoice::restore(const QVariantMap &description)
{
    for (int field = AddressField; field < FieldCount; ++field)
        m_texts[std::size_t(field)] = description.value(kFieldKeys[std::size_t(field)]).toString();
    if (description.contains(kTablePathKey)) {
        setTableFile(description.value(kTablePathKey).toByteArray().toStdString());
        return readFields();
    }
    auto parsed = rom::TableFile::parse(description.value(kTableTextKey).toByteArray().toStdString());
    if (auto *table = std::get_if<rom::TableFile>(&parsed)) {
        m_table = std::move(*table);
        tableChanged();
        m_problems[TableField].clear();
        m_texts[TableField] = tr("(the table Find learnt)");
    }
    readFields();
}

// Each field on its own first, then the layout against the cartridge.
void NameTableChoice::readFields()
{
    for (int field = AddressField; field < FieldCount; ++field)
        m_problems[std::size_t(field)].clear();
    rom::NameTableLayout layout;
    const auto read = [this](Field field, auto parsed, auto &into) {
        if (const auto *error = std::get_if<NameTableError>(&parsed))
            m_problems[field] = message(error->message());
        else
            into = std::get<0>(parsed);
    };
    read(AddressField, rom::NameTableLayout::parseAddress(m_texts[AddressField].toStdString()), layout.start);
    read(LengthField, rom::NameTableLayout::parseNumber(m_texts[LengthField].toStdString(), NameTableField::EntryLength),
         layout.entryLength);
    read(SkipField, rom::NameTableLayout::parseNumber(m_texts[SkipField].toStdString(), NameTableField::Skip),
         layout.skip);
    std::pair<int, int> codes{layout.firstCode, layout.lastCode};
    read(CodesField, rom::NameTableLayout::parseCodes(m_texts[CodesField].toStdString()), codes);
    std::tie(layout.firstCode, layout.lastCode) = codes;
    m_layout.reset();
    if (std::all_of(m_problems.begin() + AddressField, m_problems.end(), [](const QString &p) { return p.isEmpty(); })) {
        for (const NameTableError &error : layout.problems(m_cartridge.size()))
            m_problems[fieldOf(error.field)] = message(error.message());
        if (std::all_of(m_problems.begin() + AddressField, m_problems.end(), [](const QString &p) { return p.isEmpty(); }))
            m_layout = layout;
    }
    m_names.reset();
    if (m_reader && m_layout) {
        m_reader->setLayout(*m_layout);
        m_padding = m_reader->paddingByte(m_cartridge);
    }
}

// The table read once into the reader; the layout changes with each field.
void NameTableChoice::tableChanged()
{
    m_reader.reset();
    if (m_table)
        m_reader.emplace(rom::NameTableLayout{}, *m_table);
    readFields();
}
