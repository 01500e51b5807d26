#include "workspace/application_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>

#include "tests/support/case_name.h"

namespace kestrane {
namespace {

struct PlaceCase {
    const char* name;
    bool folderWritable;
    bool settingsBeside;
    FilePlace settings;
    FilePlace bitmaps;
};

class FilePlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(FilePlaceTest, KeepsFilesBesideAWritableCopy) {
    EXPECT_EQ(settingsPlace(GetParam().folderWritable, GetParam().settingsBeside),
              GetParam().settings);
    EXPECT_EQ(bitmapPlace(GetParam().folderWritable), GetParam().bitmaps);
}

constexpr FilePlace beside = FilePlace::besideProgram;
constexpr FilePlace user = FilePlace::userFolder;

INSTANTIATE_TEST_SUITE_P(
    Folders, FilePlaceTest,
    ::testing::Values(PlaceCase{"writableWithSettings", true, true, beside, beside},
                      PlaceCase{"writableFirstRun", true, false, beside, beside},
                      PlaceCase{"installedWithSettings", false, true, beside, user},
                      PlaceCase{"installedFirstRun", false, false, user, user}),
    testing::CaseName());

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
    EXPECT_TRUE(QDir(config).exists());
    EXPECT_TRUE(QDir(cache).exists());
    setApplicationFolder(QString());
}

}  // namespace
}  // namespace kestrane
