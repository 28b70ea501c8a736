#include "CsvReader.h"

namespace rom {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

CsvReader::CsvReader(std::string_view text) : m_text(text)
{
    if (m_text.starts_with(kByteOrderMark))
        m_pos = kByteOrderMark.size();
}

bool CsvReader::next(CsvRecord &record)
{
    record.clear();
    while (atLineEnd())
        skipLineEnd();
    if (m_pos >= m_text.size() || !m_error.ok())
        return false;
    for (;;) {
        CsvField field;
        if (!readField(field, int(record.size()) + 1))
            return false;
        record.push_back(std::move(field));
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            ++m_pos;
            continue;
        }
        skipLineEnd();
        return true;
    }
}

bool CsvReader::readField(CsvField &field, int position)
{
    field.line = m_line;
    if (m_pos < m_text.size() && m_text[m_pos] == '"')
        return readQuoted(field.text, position);
    const std::size_t end = m_text.find_first_of(",\r\n\"", m_pos);
    const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
    if (stop < m_text.size() && m_text[stop] == '"')
        return fail(CsvProblem::StrayQuote, m_line, position);
    field.text.assign(m_text.substr(m_pos, stop - m_pos));
    m_pos = stop;
    return true;
}

bool CsvReader::readQuoted(std::string &text, int position)
{
    const int startLine = m_line;
    ++m_pos;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == '"') {
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '"') {
                text += '"';
                m_pos += 2;
                continue;
            }
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] != ',' && !atLineEnd())
                return fail(CsvProblem::TextAfterQuote, m_line, position);
            return true;
        }
        // Line ends inside the field are kept as they are, and still counted.
        if (atLineEnd()) {
            const std::size_t from = m_pos;
            skipLineEnd();
            text.append(m_text.substr(from, m_pos - from));
            continue;
        }
        text += c;
        ++m_pos;
    }
    return fail(CsvProblem::UnclosedQuote, startLine, position);
}

bool CsvReader::atLineEnd() const
{
    return m_pos < m_text.size() && (m_text[m_pos] == '\n' || m_text[m_pos] == '\r');
}

void CsvReader::skipLineEnd()
{
    if (!atLineEnd())
        return;
    if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
        ++m_pos;
    ++m_pos;
    ++m_line;
}

bool CsvReader::fail(CsvProblem problem, int line, int position)
{
    m_error = CsvError{problem, line, position, {}};
    return false;
}

} // namespace rom
