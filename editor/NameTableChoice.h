#pragma once

#include "CartridgeBytes.h"
#include "DecodedNames.h"
#include "NameTable.h"
#include "NameTableLayout.h"
#include "RelativeSearch.h"
#include "TableFile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVariantMap>

#include <array>
#include <optional>
#include <variant>
#include <vector>

// What Options > Item Names from Image... chooses: a table file, and where
// the name table lies in the open image's cartridge. Each field is checked
// as it changes, the whole against the cartridge, and the names are
// decoded again for a preview that follows every change.
class NameTableChoice {
    Q_DECLARE_TR_FUNCTIONS(NameTableChoice)

public:
    enum Field { TableField, AddressField, LengthField, SkipField, CodesField, FieldCount };

    explicit NameTableChoice(rom::CartridgeBytes cartridge);

    // The fields as the user types them. The table file is read at once.
    void setTableFile(const std::string &path);
    void setText(Field field, const QString &text);
    [[nodiscard]] const QString &text(Field field) const { return m_texts[field]; }

    // What is wrong with a field, to show beside it; empty when nothing.
    [[nodiscard]] const QString &problem(Field field) const { return m_problems[field]; }
    // Lines of the table file that a name table never needs, left out.
    [[nodiscard]] QString tableNote() const;
    // A table, and no problem anywhere.
    [[nodiscard]] bool ready() const;
    // "HH: Name" for each code covered, once ready: all of them, or one,
    // read as a view shows it (the first covered code is row 0).
    [[nodiscard]] QStringList preview() const;
    [[nodiscard]] int previewCount() const;
    [[nodiscard]] QString previewLine(int row) const;
    // Every covered code's name, read when first asked for after a change.
    [[nodiscard]] const rom::DecodedNames &names() const;

    // Find: two to four names with their codes, a line each ("01 Dagger");
    // the placements that fit, or what is wrong and what to try.
    [[nodiscard]] std::variant<std::vector<rom::NameTablePlacement>, QString> find(const QString &known) const;
    // A placement found: its place in the fields, and the table it learnt.
    void use(const rom::NameTablePlacement &placement);
    [[nodiscard]] bool hasTable() const { return m_table.has_value(); }
    // The table file in use, as a file to save and edit.
    [[nodiscard]] std::string tableText() const { return m_table ? m_table->toText() : std::string(); }
    // Writes it to path, never over the image or any other; empty on
    // success, else what went wrong.
    [[nodiscard]] QString saveTable(const std::string &path, const std::string &image) const;

    // The choice, to remember for images of the same internal name, and
    // back: the table file's path, or the table found, and the fields.
    [[nodiscard]] QVariantMap description() const;
    void restore(const QVariantMap &description);

private:
    void readFields();
    void tableChanged();

    rom::CartridgeBytes m_cartridge;
    std::array<QString, FieldCount> m_texts;
    std::array<QString, FieldCount> m_problems;
    std::string m_tablePath; // empty for a table found by Find
    std::optional<rom::TableFile> m_table;
    std::optional<rom::NameTableLayout> m_layout;
    std::optional<rom::NameTable> m_reader; // the table, with the layout once it fits
    int m_padding = -1;
    mutable std::optional<rom::DecodedNames> m_names;
};
