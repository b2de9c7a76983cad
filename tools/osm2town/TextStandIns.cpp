#include "TextStandIns.h"

#include "base/Cp1251.h"

#include <QList>
#include <QString>

namespace {

bool encodable(char32_t c, std::string& out)
{
    if (c > 0xFFFF)
        return false;
    std::string b;
    // Empty for a combining mark, which the code page lacks although the
    // program's encoding drops it quietly: here it is tallied.
    if (!cp1251::encode(QString(QChar(char16_t(c))), b) || b.empty())
        return false;
    out += b;
    return true;
}

struct Fixed {
    char32_t from;
    const char* toUtf8;
};

// Typographic characters with a near form in the code page.
constexpr Fixed kFixed[] = {
    // spaces
    {0x2000, " "}, {0x2001, " "}, {0x2002, " "}, {0x2003, " "}, {0x2004, " "}, {0x2005, " "},
    {0x2006, " "}, {0x2007, " "}, {0x2008, " "}, {0x2009, " "}, {0x200A, " "}, {0x202F, " "},
    {0x205F, " "}, {0x3000, " "},
    // zero-width characters vanish
    {0x200B, ""}, {0x200C, ""}, {0x200D, ""}, {0x2060, ""}, {0xFEFF, ""}, {0x200E, ""}, {0x200F, ""},
    // dashes and minus
    {0x2010, "-"}, {0x2011, "-"}, {0x2012, "–"}, {0x2015, "—"}, {0x2212, "-"}, {0x2043, "-"},
    // quotes and primes
    {0x201B, "‘"}, {0x201F, "“"}, {0x2032, "'"}, {0x2033, "\""}, {0x00B4, "'"}, {0x02BC, "’"},
    {0x300C, "«"}, {0x300D, "»"}, {0x2E42, "„"},
    // others
    {0x2192, "->"}, {0x2190, "<-"}, {0x2194, "<->"}, {0x21D2, "=>"}, {0x2044, "/"}, {0x2215, "/"},
    {0x00D7, "x"}, {0x2236, ":"}, {0x2024, "."}, {0x2027, "·"}, {0x00B2, "2"}, {0x00B3, "3"},
    {0x00B9, "1"}, {0x00BD, "1/2"}, {0x00BC, "1/4"}, {0x00BE, "3/4"}, {0x00F7, ":"},
    // Latin letters that do not decompose
    {0x00DF, "ss"}, {0x1E9E, "SS"}, {0x00E6, "ae"}, {0x00C6, "AE"}, {0x0153, "oe"}, {0x0152, "OE"},
    {0x00F8, "o"}, {0x00D8, "O"}, {0x0142, "l"}, {0x0141, "L"}, {0x0111, "d"}, {0x0110, "D"},
    {0x0131, "i"}, {0x00F0, "d"}, {0x00D0, "D"}, {0x00FE, "th"}, {0x00DE, "Th"}, {0x0127, "h"},
    {0x0126, "H"}, {0x0167, "t"}, {0x0166, "T"},
};

} // namespace

std::optional<std::string> cp1251StandIn(char32_t c)
{
    // A combining mark still left once the text is composed has no letter
    // of the code page to join: the letter reads right without it.
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing)
        return std::string();
    for (const Fixed& f : kFixed)
        if (f.from == c)
            return cp1251::fromUtf8(f.toUtf8);
    // The compatibility decomposition without its combining marks: "ö" is
    // "o" and a diaeresis, "ﬁ" is "fi", a full-width "Ａ" is "A".
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    std::string out;
    bool letters = false;
    for (QChar q : decomposed) {
        if (q.category() == QChar::Mark_NonSpacing || q.category() == QChar::Mark_SpacingCombining
            || q.category() == QChar::Mark_Enclosing)
            continue;
        if (!encodable(q.unicode(), out))
            return std::nullopt;
        letters = true;
    }
    if (!letters || decomposed == QString::fromUcs4(&c, 1))
        return std::nullopt;
    return out;
}

std::string TextStandIns::toCp1251(std::string_view utf8)
{
    // Composed first: "и" and a combining breve is the code page's "й".
    const QString text =
        QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).normalized(QString::NormalizationForm_C);
    std::string out;
    out.reserve(utf8.size());
    for (char32_t c : text.toUcs4()) {
        if (encodable(c, out))
            continue;
        const std::optional<std::string> standIn = cp1251StandIn(c);
        const std::string to = standIn.value_or("?");
        ++(standIn ? m_standIns : m_questionMarks);
        out += to;
        Replacement& r = m_replacements[QString::fromUcs4(&c, 1).toStdString()];
        r.to = to;
        ++r.count;
    }
    return out;
}
