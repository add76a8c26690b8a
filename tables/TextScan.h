#pragma once
#include <QStringView>

namespace tables {

// Reads the few fixed formats the table layer accepts (typed integers and
// numbers, declared column types) from left to right. Digits and white space
// are ASCII's only, as the formats are.
class TextScan {
public:
    explicit TextScan(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos == m_text.size(); }
    void skipSpace()
    {
        while (!atEnd() && (m_text[m_pos] == u' ' || (m_text[m_pos] >= u'\t' && m_text[m_pos] <= u'\r')))
            ++m_pos;
    }
    bool take(char16_t c)
    {
        if (atEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }
    bool take(QStringView word)
    {
        if (!m_text.sliced(m_pos).startsWith(word))
            return false;
        m_pos += word.size();
        return true;
    }
    void takeSign() { take(u'+') || take(u'-'); }
    // The run of digits here, possibly empty.
    QStringView digits()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && m_text[m_pos] >= u'0' && m_text[m_pos] <= u'9')
            ++m_pos;
        return m_text.sliced(start, m_pos - start);
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace tables
