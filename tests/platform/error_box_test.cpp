#include "platform/ErrorBox.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(ErrorBoxText, FullStopFollowsOnlyCharactersAboveTheDot)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"Cannot open file \"/x/data/data.mod\". No such file or directory",
         "Cannot open file \"/x/data/data.mod\". No such file or directory."},
        {"Done.", "Done."},
        {"Wait!", "Wait!"},          // '!' is below '.'
        {"(see log)", "(see log)"},  // ')' is below '.'
        {"name \"x\"", "name \"x\""}, // '"' is below '.'
        {"trailing space ", "trailing space "},
        {"a-b-", "a-b-"},            // '-' is just below '.'
        {"path /", "path /."},       // '/' is just above '.'
        {"code 42", "code 42."},
        {"Why?", "Why?."},
        {"Файл не найден", "Файл не найден."}, // every non-ASCII character is above '.'
        {"ёлка…", "ёлка…."},
        {"emoji 😀", "emoji 😀."},   // a surrogate pair counts as one character
    };
    for (const auto& c : cases)
        EXPECT_EQ(withFullStop(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
}

TEST(ErrorBoxText, HandlerErrorsReachThePresenterOnce)
{
    setApplicationTitle("Title");
    QStringList shown;
    const ErrorPresenter previous =
        setErrorPresenter([&](const QString& title, const QString& text) { shown << title + "|" + text; });

    EXPECT_TRUE(reportErrors([] {}));
    EXPECT_FALSE(reportErrors([] { throw std::runtime_error("Сбой"); }));
    EXPECT_FALSE(reportErrors([] { throw 7; }));
    setErrorPresenter(previous);

    EXPECT_EQ(shown, QStringList({"Title|Сбой.", "Title|Неизвестная ошибка."}));
}
