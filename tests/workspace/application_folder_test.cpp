#include "workspace/application_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>

namespace kestrane {
namespace {

// An installed copy keeps settings it finds beside it; without a remembered folder it starts in
// its samples (a built copy: scripts/run starts it there).
TEST(FilePlaces, KeepFilesBesideAWritableCopy) {
    constexpr FilePlace beside = FilePlace::besideProgram, user = FilePlace::userFolder;
    constexpr auto application = UnrememberedFolder::application;
    // folder writable, settings beside the program, samples present; then where the settings,
    // the bitmaps and the working directory go
    const std::tuple<bool, bool, bool, FilePlace, FilePlace, UnrememberedFolder> rows[] = {
        {true, true, true, beside, beside, application},
        {true, false, false, beside, beside, application},
        {false, true, true, beside, user, UnrememberedFolder::samples},
        {false, false, false, user, user, application},
    };
    for (const auto& [writable, settingsBeside, samples, settings, bitmaps, folder] : rows) {
        EXPECT_EQ(std::tuple(settingsPlace(writable, settingsBeside), bitmapPlace(writable),
                             unrememberedFolderPlace(writable, samples)),
                  std::tuple(settings, bitmaps, folder))
            << writable << settingsBeside << samples;
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
