// The settings kept between runs, in a settings file of the test's own.
#include "app/StoredSettings.h"

#include "base/GxException.h"
#include "map/MapState.h"
#include "support/TempDir.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <array>

namespace {

using Flags = std::array<bool, 4>;

Flags flags(const MapState& s)
{
    return {s.ShowStreetNames, s.ShowHouseNumbers, s.ShowNorthArrow, s.ShowScaleBar};
}

class StoredSettingsTest : public ::testing::Test {
protected:
    QString file() const { return QString::fromStdString(folder.file("quorvel.conf")); }
    void write(const char* text)
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    Flags loaded()
    {
        MapState state;
        QSettings settings(file(), QSettings::IniFormat);
        StoredSettings::Load(state, settings);
        return flags(state);
    }

    TempDir folder;
};

TEST_F(StoredSettingsTest, EachFlagComesBackAsItWasSaved)
{
    const Flags cases[] = {{true, true, true, true},   {false, true, true, true}, {true, false, true, true},
                           {true, true, false, true},  {true, true, true, false}, {false, false, false, false},
                           {false, true, false, true}};
    for (const Flags& c : cases) {
        MapState state;
        state.ShowStreetNames = c[0];
        state.ShowHouseNumbers = c[1];
        state.ShowNorthArrow = c[2];
        state.ShowScaleBar = c[3];
        {
            QSettings settings(file(), QSettings::IniFormat);
            StoredSettings::Save(state, settings);
        }
        EXPECT_EQ(loaded(), c);
    }
    // Saving writes the four flags only: the other two settings stay in memory.
    QSettings settings(file(), QSettings::IniFormat);
    EXPECT_EQ(settings.allKeys().size(), 4);
}

TEST_F(StoredSettingsTest, NoFileAnEmptyOneOrValuesThatAreNoFlagsLeaveTheFlagsOn)
{
    EXPECT_EQ(loaded(), (Flags{true, true, true, true}));
    write("");
    EXPECT_EQ(loaded(), (Flags{true, true, true, true}));
    write("[map]\nstreetNames=0\nhouseNumbers=nein\nnorthArrow=\nscaleBar=FALSE\n");
    EXPECT_EQ(loaded(), (Flags{true, true, true, false}));
    write("\xff\xfe[[[\nmap/northArrow=false\n\x01\x02");
    EXPECT_EQ(loaded()[2], true) << "not in the group map";
    write("[map]\nnorthArrow = false \nstreetNames=True\n");
    EXPECT_EQ(loaded(), (Flags{true, true, false, true}));
}

TEST_F(StoredSettingsTest, AFileThatCannotBeWrittenIsNamedInTheError)
{
    // Its folder is a file: no one, not even root, can make it.
    write("[map]\n");
    const QString blocked = file() + "/quorvel.conf";
    MapState state;
    QSettings settings(blocked, QSettings::IniFormat);
    try {
        StoredSettings::Save(state, settings);
        FAIL() << "no error";
    } catch (const EGxError& e) {
        EXPECT_NE(std::string(e.what()).find(blocked.toStdString()), std::string::npos) << e.what();
    }
}

} // namespace
