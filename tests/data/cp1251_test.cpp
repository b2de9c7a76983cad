#include "base/Cp1251.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

TEST(Cp1251, DecodesEveryByteAsTheSystemCodecDoes)
{
    QStringDecoder system("windows-1251");
    ASSERT_TRUE(system.isValid());
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue; // unassigned in the code page; codecs disagree on it
        const std::string byte(1, static_cast<char>(b));
        const QString ours = cp1251::decode(byte);
        const QString theirs = system(QByteArray(byte.data(), 1));
        EXPECT_EQ(ours, theirs) << "byte " << b;
    }
}

TEST(Cp1251, RoundTripsAllBytes)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    std::string back;
    EXPECT_TRUE(cp1251::encode(cp1251::decode(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1251, ReportsCharactersOutsideTheCodePage)
{
    std::string out;
    EXPECT_FALSE(cp1251::encode(QString::fromUtf8("caf\xC3\xA9 \xE2\x86\x92"), out));
    EXPECT_EQ(out, "caf? ?");
    EXPECT_TRUE(cp1251::encode(QString::fromUtf8("Улица №5 «Ёлка»"), out));
    EXPECT_EQ(out, "\xD3\xEB\xE8\xF6\xE0 \xB9" "5 \xAB\xA8\xEB\xEA\xE0\xBB");
}

TEST(Cp1251, ALetterAndItsCombiningMarkAreTheCodePagesLetter)
{
    struct Case {
        const char* utf8;
        const char* expected; // UTF-8 of the Windows-1251 result
        bool complete;
    } cases[] = {
        {"Гаи\u0306дара", "Гайдара", true},
        {"И\u0306ошкар-Ола", "Йошкар-Ола", true},
        {"е\u0308лка, Е\u0308", "ёлка, Ё", true},
        {"ё\u0301", "ё", true},        // no composed form: the mark goes
        {"\u0301", "", true},
        {"cafe\u0301", "caf?", false}, // composed, but "é" is not in the code page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out;
        EXPECT_EQ(cp1251::encode(QString::fromUtf8(c.utf8), out), c.complete);
        EXPECT_EQ(out, cp1251::fromUtf8(c.expected));
    }
}
