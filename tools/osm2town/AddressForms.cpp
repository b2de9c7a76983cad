#include "AddressForms.h"

#include "data/OrgRecord.h"

#include <QRegularExpression>
#include <QString>

std::string compactHouseNumber(std::string_view utf8)
{
    QString s = QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).trimmed();
    // Longest words first, each only where it stands as a word of its own
    // followed by the number it introduces.
    static const QRegularExpression building(QStringLiteral("(?<![\\p{L}])(корпус|корп\\.?|кор\\.)\\s*(?=\\S)"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression structure(QStringLiteral("(?<![\\p{L}])(строение|стр\\.?)\\s*(?=\\S)"),
                                              QRegularExpression::CaseInsensitiveOption
                                                  | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression ownership(QStringLiteral("(?<![\\p{L}])(владение|вл\\.)\\s*(?=\\S)"),
                                              QRegularExpression::CaseInsensitiveOption
                                                  | QRegularExpression::UseUnicodePropertiesOption);
    s.replace(building, QStringLiteral("к"));
    s.replace(structure, QStringLiteral("с"));
    s.replace(ownership, QStringLiteral("вл"));
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        if (!c.isSpace())
            out += c;
    return out.toStdString();
}

std::string fitStreetName(std::string_view utf8, TextStandIns& text, bool* cut)
{
    if (cut)
        *cut = false;
    std::string bytes = text.toCp1251(utf8);
    if (bytes.size() <= OrgRecord::kStreetCapacity)
        return bytes;
    struct Abbreviation {
        const char* word;
        const char* shortForm;
    };
    static const Abbreviation kWords[] = {
        {"улица", "ул."},          {"проспект", "пр-т"},     {"переулок", "пер."}, {"проезд", "пр."},
        {"бульвар", "б-р"},        {"шоссе", "ш."},          {"площадь", "пл."},   {"набережная", "наб."},
        {"тупик", "туп."},         {"Улица", "Ул."},         {"Проспект", "Пр-т"}, {"Переулок", "Пер."},
        {"Проезд", "Пр."},         {"Бульвар", "Б-р"},       {"Шоссе", "Ш."},      {"Площадь", "Пл."},
        {"Набережная", "Наб."},    {"микрорайон", "мкр."},   {"Микрорайон", "Мкр."},
    };
    QString name = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    for (const Abbreviation& a : kWords) {
        const QRegularExpression word(QStringLiteral("(?<!\\p{L})") + QString::fromUtf8(a.word)
                                          + QStringLiteral("(?!\\p{L})"),
                                      QRegularExpression::UseUnicodePropertiesOption);
        name.replace(word, QString::fromUtf8(a.shortForm));
    }
    TextStandIns quiet; // the characters were tallied above already
    bytes = quiet.toCp1251(name.toStdString());
    if (bytes.size() > OrgRecord::kStreetCapacity) {
        bytes.resize(OrgRecord::kStreetCapacity);
        if (cut)
            *cut = true;
    }
    return bytes;
}

std::string HouseNumberBook::number(const std::string& street, std::string_view utf8)
{
    const std::string compact = compactHouseNumber(utf8);
    if (compact != utf8)
        m_compacted.insert(std::string(utf8));
    TextStandIns quiet;
    std::string written = (compact == utf8 ? m_text : quiet).toCp1251(compact);
    if (compact != utf8)
        m_text.toCp1251(utf8); // tally the characters of the number as the extract has it
    if (written.size() > OrgRecord::kHouseNoCapacity) {
        m_cut.insert(compact);
        written.resize(OrgRecord::kHouseNoCapacity);
    }
    m_forms[{street, written}].insert(compact);
    return written;
}

std::vector<HouseNumberBook::Collision> HouseNumberBook::collisions() const
{
    std::vector<Collision> out;
    for (const auto& [key, forms] : m_forms)
        if (forms.size() > 1)
            out.push_back({key.first, key.second, {forms.begin(), forms.end()}});
    return out;
}

std::size_t HouseNumberBook::ambiguousNumbers() const
{
    std::size_t n = 0;
    for (const auto& [key, forms] : m_forms)
        if (forms.size() > 1)
            n += forms.size();
    return n;
}
