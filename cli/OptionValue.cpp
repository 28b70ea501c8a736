#include "OptionValue.h"

namespace cli {

std::string OptionValue::read(std::string_view name, const std::string &argument, int &index, int argc,
                              const char *const *argv)
{
    const std::string option = "option " + std::string(name);
    const bool twice = m_given;
    m_given = true;
    if (twice)
        return option + " is given twice";
    if (const std::size_t equals = argument.find('='); equals != std::string::npos)
        m_value = argument.substr(equals + 1);
    else if (index + 1 < argc)
        m_value = argv[++index];
    return m_value.empty() ? option + " needs " + std::string(m_what) + " after it" : std::string();
}

} // namespace cli
