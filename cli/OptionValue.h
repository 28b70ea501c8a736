#pragma once

#include <string>
#include <string_view>

namespace cli {

// An option that takes a value, given once as "NAME VALUE" or "NAME=VALUE"
// (-o FILE, --table FILE.tbl).
class OptionValue {
public:
    // what names the value in the message when it is missing: "a value", "a file name".
    explicit OptionValue(std::string_view what = "a value") : m_what(what) {}

    // Reads the value after the '=' in argument, or else the next argument,
    // which index then moves to. Returns what is wrong (the option given
    // twice, or without a value), or an empty string.
    [[nodiscard]] std::string read(std::string_view name, const std::string &argument, int &index, int argc,
                                   const char *const *argv);

    [[nodiscard]] bool given() const { return m_given; }
    [[nodiscard]] const std::string &value() const { return m_value; } // empty when not given

private:
    std::string_view m_what;
    std::string m_value;
    bool m_given = false;
};

} // namespace cli
