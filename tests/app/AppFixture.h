#pragma once

#include "app/AppWindows.h"
#include "app/ApplicationTitle.h"
#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/OrgDirectoryWriter.h"
#include "base/Cp1251.h"
#include "data/TownModelWriter.h"
#include "platform/ErrorBox.h"
#include "platform/Fonts.h"
#include "platform/KeyState.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A 4 x 3 house at (x, y) for fixture towns; texts are given in UTF-8.
inline TownHouseRecord fixtureHouse(std::string_view street, std::string_view number, float x, float y, int floors)
{
    TownHouseRecord h;
    h.nodes = {{x, y}, {x + 4, y}, {x + 4, y + 3}, {x, y + 3}};
    h.texts = {cp1251::fromUtf8(street), cp1251::fromUtf8(number), std::to_string(floors)};
    return h;
}

// A directory entry for fixture towns; texts are given in UTF-8.
inline OrgRecord fixtureOrg(std::string_view name, std::string_view street, std::string_view number,
                            std::string_view phone = {})
{
    OrgRecord r;
    r.name = cp1251::fromUtf8(name);
    r.streetName = cp1251::fromUtf8(street);
    r.houseNo = cp1251::fromUtf8(number);
    r.phone = std::string(phone);
    return r;
}

// The texts of a tree's top-level items (the organisations of the results tree), in order.
inline std::vector<std::string> topLevelTexts(const QTreeWidget& tree)
{
    std::vector<std::string> texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts.push_back(tree.topLevelItem(i)->text(0).toStdString());
    return texts;
}

// A program folder with an empty town in data/, the windows of one run made
// from it, the error boxes they raise and whether they ended the process.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        setApplicationTitle(QString::fromUtf8(kApplicationTitle));
        installFontSubstitutes();
        qApp->setQuitOnLastWindowClosed(false);
        m_previousPresenter = setErrorPresenter([this](const QString& title, const QString& text) {
            errorTitles << title;
            errors << text;
        });
        m_previousDir = QDir::currentPath();
        // Each test's runs keep their settings in its own folder, empty at first.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder());
    }

    void TearDown() override
    {
        windows.reset();
        setErrorPresenter(m_previousPresenter);
        QDir::setCurrent(m_previousDir);
    }

    QString programFolder() const { return QString::fromStdString(m_folder.path()); }
    // Where the program's runs in this test keep their settings.
    QString settingsFolder() const { return programFolder() + "/settings"; }

    void writeEmptyTown() { writeTown({}, {}); }

    void writeTown(const TownModel& town, const OrgRecords& directory)
    {
        writeTown(town, directory, programFolder() + "/data");
    }

    // The four files of a town in `folder` (made if need be).
    void writeTown(const TownModel& town, const OrgRecords& directory, const QString& folder)
    {
        QDir().mkpath(folder);
        const std::string data = folder.toStdString() + "/";
        writeTownModel(town).saveTo(data + "data.mod");
        writeMaterialLibrary(2, {}).saveTo(data + "data.modt");
        QFile landmarks(QString::fromStdString(data + "fl.dat"));
        ASSERT_TRUE(landmarks.open(QIODevice::WriteOnly));
        landmarks.write(QByteArray::fromStdString(writeLandmarkList({})));
        landmarks.close();
        writeOrgDirectory(directory).saveTo(data + "data.tmd");
    }

    void start()
    {
        start(programFolder() + "/data");
    }

    // Starts on the town in `townFolder`, as when it is named on the command line.
    void start(const QString& townFolder)
    {
        windows = std::make_unique<AppWindows>(programFolder(), townFolder, [this] { ++processEnds; });
    }

    // Runs the event loop until the condition holds or the time is up.
    template <class Condition>
    bool waitUntil(Condition condition, int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > milliseconds)
                return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    static bool designedScreen()
    {
        return QGuiApplication::primaryScreen()->geometry().size() == QSize(1280, 1024);
    }

    std::unique_ptr<AppWindows> windows;
    QStringList errors;
    QStringList errorTitles;
    int processEnds = 0;
    ScriptedKeyState keys;
    KeyStateScope keyScope{keys};

private:
    TempDir m_folder;
    ErrorPresenter m_previousPresenter;
    QString m_previousDir;
};
