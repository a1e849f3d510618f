#include "keyloft-cli/Csv.h"

#include "store/TextCodec.h"

namespace klt::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

CsvError::CsvError(size_t nLine, const std::string& strMessage)
    : std::runtime_error("line " + std::to_string(nLine) + ": " + strMessage) {}

void AppendCsvRecord(std::string& out, const std::vector<std::string_view>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        out.push_back('"');
        for (const char c : fields[i]) {
            if (c == '"') {
                out.push_back('"');
            }
            out.push_back(c);
        }
        out.push_back('"');
    }
    out.append("\r\n");
}

CsvReader::CsvReader(std::string_view text) : m_text(text) {
    if (m_text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        m_nPos = kByteOrderMark.size();
    }
    // Some password managers export with tabs by default: a first line with tabs and no comma.
    const std::string_view firstLine = m_text.substr(m_nPos, m_text.find_first_of("\r\n", m_nPos) - m_nPos);
    if (firstLine.find('\t') != std::string_view::npos && firstLine.find(',') == std::string_view::npos) {
        m_cDelimiter = '\t';
    }
}

bool CsvReader::Next(CsvRecord& record) {
    while (m_nPos < m_text.size()) {
        record.nLine = m_nLine;
        record.fields.clear();
        ReadRecord(record.fields);
        const bool bEmptyLine = record.fields.size() == 1 && record.fields[0].empty();
        if (!bEmptyLine) {
            return true;
        }
    }
    return false;
}

bool CsvReader::AtLineBreak() const {
    return m_text[m_nPos] == '\r' || m_text[m_nPos] == '\n';
}

// Consumes one CRLF, LF or CR.
void CsvReader::SkipLineBreak() {
    if (m_text[m_nPos] == '\r' && m_nPos + 1 < m_text.size() && m_text[m_nPos + 1] == '\n') {
        ++m_nPos;
    }
    ++m_nPos;
    ++m_nLine;
}

void CsvReader::ReadRecord(std::vector<std::string>& fields) {
    for (;;) {
        const size_t nFieldLine = m_nLine;
        if (fields.size() == kMaxCsvFields) {
            throw CsvError(nFieldLine, "more than " + std::to_string(kMaxCsvFields) + " fields");
        }
        std::string field = m_nPos < m_text.size() && m_text[m_nPos] == '"' ? ReadQuoted() : ReadPlain();
        if (!IsValidUtf8(field)) {
            throw CsvError(nFieldLine, "the text is not valid UTF-8");
        }
        fields.push_back(std::move(field));
        if (m_nPos >= m_text.size()) {
            return;
        }
        if (AtLineBreak()) {
            SkipLineBreak();
            return;
        }
        if (m_text[m_nPos] != m_cDelimiter) {
            throw CsvError(m_nLine, "text after a closing quote; a quote inside a field must be doubled");
        }
        ++m_nPos;
    }
}

std::string CsvReader::ReadPlain() {
    const size_t nStart = m_nPos;
    while (m_nPos < m_text.size() && m_text[m_nPos] != m_cDelimiter && !AtLineBreak()) {
        ++m_nPos;
    }
    return std::string(m_text.substr(nStart, m_nPos - nStart));
}

std::string CsvReader::ReadQuoted() {
    const size_t nOpenLine = m_nLine;
    std::string field;
    ++m_nPos;
    for (;;) {
        const size_t nQuote = m_text.find('"', m_nPos);
        if (nQuote == std::string_view::npos) {
            throw CsvError(nOpenLine, "a quoted field is never closed");
        }
        const std::string_view part = m_text.substr(m_nPos, nQuote - m_nPos);
        for (size_t i = 0; i < part.size(); ++i) {
            // CRLF counts as one line break.
            if (part[i] == '\n' || (part[i] == '\r' && (i + 1 >= part.size() || part[i + 1] != '\n'))) {
                ++m_nLine;
            }
        }
        field.append(part);
        m_nPos = nQuote + 1;
        if (m_nPos < m_text.size() && m_text[m_nPos] == '"') {
            field.push_back('"');
            ++m_nPos;
        } else {
            return field;
        }
    }
}

} // namespace klt::cli
