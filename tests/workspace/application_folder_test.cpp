#include "workspace/application_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>

namespace kestrane {
namespace {

TEST(FilePlaces, KeepsFilesBesideAWritableCopy) {
    constexpr FilePlace beside = FilePlace::besideProgram, user = FilePlace::userFolder;
    // folder writable, settings beside the program, then where the settings and bitmaps go
    const std::tuple<bool, bool, FilePlace, FilePlace> rows[] = {
        {true, true, beside, beside},
        {true, false, beside, beside},
        {false, true, beside, user},  // installed, settings from an older copy
        {false, false, user, user},
    };
    for (const auto& [writable, settingsBeside, settings, bitmaps] : rows) {
        EXPECT_EQ(std::pair(settingsPlace(writable, settingsBeside), bitmapPlace(writable)),
                  std::pair(settings, bitmaps))
            << writable << settingsBeside;
    }
}

TEST(FilePlaces, AnInstalledCopyWithoutARememberedFolderGoesToItsSamples) {
    constexpr auto application = UnrememberedFolder::application;
    // folder writable, samples present, then where the working directory goes
    const std::tuple<bool, bool, UnrememberedFolder> rows[] = {
        {true, true, application},  // a built copy: scripts/run starts it in the samples
        {true, false, application},
        {false, true, UnrememberedFolder::samples},
        {false, false, application},  // installed without them
    };
    for (const auto& [writable, samples, folder] : rows) {
        EXPECT_EQ(unrememberedFolderPlace(writable, samples), folder) << writable << samples;
    }
}

// A program folder that cannot be written (here: one that does not exist) sends both files to the
// user's folders, which are made so that the files can be written there.
TEST(FilePlaces, AnUnwritableFolderUsesTheUsersFoldersAndMakesThem) {
    QStandardPaths::setTestModeEnabled(true);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir(config).removeRecursively();
    QDir(cache).removeRecursively();
    setApplicationFolder("/nonexistent/kestrane");
    EXPECT_EQ(settingsFileNamed("Kestrane.ini"), config + "/Kestrane.ini");
    EXPECT_EQ(temporaryFileNamed("3Dtemp.bmp"), cache + "/3Dtemp.bmp");
    EXPECT_TRUE(QDir(config).exists() && QDir(cache).exists());
    setApplicationFolder(QString());
}

}  // namespace
}  // namespace kestrane
