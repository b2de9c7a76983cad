// Which stored texts of the results tree are opened, and as what, and what
// copying a line gives.
#include "directory/ContactLine.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* stored;
    const char* opened; // empty: nothing is opened
};

std::string opened(const std::optional<QUrl>& url)
{
    return url ? url->toString().toStdString() : std::string();
}

} // namespace

TEST(ContactLine, OnlyPlausibleWebAddressesOpenWithASchemeAdded)
{
    const Row rows[] = {
        {"zdorovie.ru", "http://zdorovie.ru"},
        {"www.org1.ru", "http://www.org1.ru"},
        {"  www.org1.ru ", "http://www.org1.ru"},
        {"https://bank.ru/office?id=2", "https://bank.ru/office?id=2"},
        {"HTTP://BANK.RU", "http://bank.ru"},
        {"здоровье.рф", "http://здоровье.рф"},
        {"sub-site.example.com:8080/a", "http://sub-site.example.com:8080/a"},
        // Only a scheme at the start counts: "://" further on is part of the path or query.
        {"vk.com/away.php?to=http://a.ru", "http://vk.com/away.php?to=http://a.ru"},
        {"a.ru/go#https://b.ru", "http://a.ru/go#https://b.ru"},
        {"a.ru/?mail=mailto:x@b.ru", "http://a.ru/?mail=mailto:x@b.ru"},
        {"https://vk.com/away.php?to=http://a.ru", "https://vk.com/away.php?to=http://a.ru"},
        {"", ""},
        {"нет", ""},
        {"сайт в разработке", ""},
        {"www", ""},
        {"a b.ru", ""},
        {"-bad.ru", ""},
        {"javascript:alert(1)", ""},
        {"file:///etc/passwd", ""},
        {"ftp://files.ru", ""},
        {"svn+ssh://files.ru", ""},
        {"://files.ru", ""},
        {"mail@zdorovie.ru", ""},
        {"192.168.0.1", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(opened(ContactLine::WebAddress(QString::fromUtf8(row.stored))), row.opened) << row.stored;
}

TEST(ContactLine, OnlyOneMailAddressOpensAsANewMessage)
{
    const Row rows[] = {
        {"apteka@zdorovie.ru", "mailto:apteka@zdorovie.ru"},
        {"mailto:info@bank.ru", "mailto:info@bank.ru"},
        {"first.last+tag@mail.example.com", "mailto:first.last+tag@mail.example.com"},
        {"", ""},
        {"нет", ""},
        {"apteka@", ""},
        {"@zdorovie.ru", ""},
        {"a@b", ""},
        {"a@@b.ru", ""},
        {"a b@c.ru", ""},
        {"a@b.ru,c@d.ru", ""},
        {"a@b.ru?subject=x", ""},
        {"zdorovie.ru", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(opened(ContactLine::MailAddress(QString::fromUtf8(row.stored))), row.opened) << row.stored;
}

TEST(ContactLine, LinesCopyWithoutTheirPrefixAndOnlyWebAndEmailLinesOpen)
{
    using namespace ContactLine;
    EXPECT_EQ(CopyText(Phone, QStringLiteral("тел. 22-33-44")), QStringLiteral("22-33-44"));
    EXPECT_EQ(CopyText(Email, QStringLiteral("e-mail: a@b.ru")), QStringLiteral("a@b.ru"));
    EXPECT_EQ(CopyText(Web, QStringLiteral("web: b.ru")), QStringLiteral("b.ru"));
    EXPECT_EQ(CopyText(Address, QStringLiteral("Ленина, 5")), QStringLiteral("Ленина, 5"));
    EXPECT_EQ(CopyText(Name, QStringLiteral("web: b.ru")), QStringLiteral("web: b.ru")); // a name is kept whole

    EXPECT_EQ(opened(LinkOf(Web, QStringLiteral("web: b.ru"))), "http://b.ru");
    EXPECT_EQ(opened(LinkOf(Email, QStringLiteral("e-mail: a@b.ru"))), "mailto:a@b.ru");
    EXPECT_EQ(opened(LinkOf(Name, QStringLiteral("b.ru"))), "");
    EXPECT_EQ(opened(LinkOf(Phone, QStringLiteral("тел. b.ru"))), "");

    // Empty fields are left out of the whole organisation.
    EXPECT_EQ(AllText({QStringLiteral("Кафе"), QStringLiteral(", "), QStringLiteral("тел. 2-11-03"),
                       QStringLiteral("e-mail: "), QStringLiteral("web: b.ru")}),
              QStringLiteral("Кафе\nтел. 2-11-03\nweb: b.ru"));
}
