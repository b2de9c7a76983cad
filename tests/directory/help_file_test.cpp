#include "directory/HelpFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>

#include <gtest/gtest.h>

namespace {
void write(const QString& path, const QByteArray& text = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(text);
}
} // namespace

TEST(HelpFile, BesideTheProgramFirstThenTheInstallation)
{
    // PREFIX/bin holds the program, PREFIX/share/quorvel the installed help.
    const struct {
        const char* what;
        QStringList present; // relative to the prefix
        QString expected;    // relative to the prefix; empty: none found
    } cases[] = {
        {"nothing", {}, {}},
        {"compiled help beside", {"bin/qvhelp.chm", "bin/qvhelp.html", "share/quorvel/qvhelp.html"}, "bin/qvhelp.chm"},
        {"html beside", {"bin/qvhelp.html", "share/quorvel/qvhelp.html"}, "bin/qvhelp.html"},
        {"installed", {"share/quorvel/qvhelp.html"}, "share/quorvel/qvhelp.html"},
        {"installed compiled help is not looked for", {"share/quorvel/qvhelp.chm"}, {}},
    };
    const QString elsewhere = QDir::currentPath();
    for (const auto& c : cases) {
        TempDir prefix;
        const QString root = QString::fromStdString(prefix.path());
        QDir(root).mkpath("bin");
        for (const QString& file : c.present)
            write(root + "/" + file);
        ASSERT_NE(QDir(elsewhere).canonicalPath(), QDir(root + "/bin").canonicalPath());
        EXPECT_EQ(HelpFile::Path(root + "/bin"), c.expected.isEmpty() ? QString() : root + "/" + c.expected)
            << c.what;
    }
}

TEST(HelpFile, ProgramWithoutItsHelpWritesTheBuiltInCopy)
{
    const QByteArray help = HelpFile::BuiltIn();
    ASSERT_TRUE(help.contains("<html")) << "the help is built into the program";

    TempDir folder;
    const QString program = QString::fromStdString(folder.file("bin"));
    const QString spare = QString::fromStdString(folder.file("cache/quorvel"));
    QDir().mkpath(program);
    const QString copy = spare + "/qvhelp.html";

    EXPECT_EQ(HelpFile::Find(program, spare), copy);
    QFile written(copy);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), help);
    written.close();

    // A copy left by another version is brought up to date.
    write(copy, "old help");
    EXPECT_EQ(HelpFile::Find(program, spare), copy);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), help);
    written.close();

    // The program's own help wins over the copy.
    write(program + "/qvhelp.html");
    EXPECT_EQ(HelpFile::Find(program, spare), program + "/qvhelp.html");
}

TEST(HelpFile, UnwritableSpareFolderIsAnErrorNamingTheFile)
{
    TempDir folder;
    const QString program = QString::fromStdString(folder.file("bin"));
    QDir().mkpath(program);
    // A file where the folder should be: neither root nor anyone can make the folder.
    const QString blocked = QString::fromStdString(folder.file("cache"));
    write(blocked);
    try {
        HelpFile::Find(program, blocked + "/quorvel");
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  "Не удалось записать справку в файл \"" + blocked + "/quorvel/qvhelp.html\"");
    }
}
