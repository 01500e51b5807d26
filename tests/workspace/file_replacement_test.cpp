#include "workspace/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <optional>

#include "tests/support/case_name.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/sandbox.h"

namespace kestrane {
namespace {

const QByteArray kOld = "old content, longer than the new one\r\n";
const QByteArray kNew = " 1 2\r\n";

// What stands at the name before the write.
enum class Before { nothing, file, linkToFile, folder, missingFolder, sizeLimit };

struct Row {
    std::string name;
    Before before;
    bool written;
};

class FileReplacement : public ::testing::TestWithParam<Row> {};

// The old file must come through a failure byte for byte, and no sibling may be left behind; a
// replaced file keeps its permissions.
TEST_P(FileReplacement, ReplacesWholeOrNotAtAll) {
    const auto [name, before, shouldWrite] = GetParam();
    const testing::Sandbox sandbox;
    const QString target =
        sandbox.file(before == Before::missingFolder ? "missing/out.txt" : "out.txt");
    if (before == Before::file || before == Before::sizeLimit) {
        sandbox.write("out.txt", kOld);
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    }
    if (before == Before::linkToFile) {
        sandbox.write("elsewhere.txt", kOld);
        ASSERT_TRUE(QFile::link(sandbox.file("elsewhere.txt"), target));
    }
    ASSERT_TRUE(before != Before::folder || QDir(sandbox.path()).mkdir("out.txt"));
    const auto entries = [&] {
        return QDir(sandbox.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList entriesBefore = entries();
    std::optional<testing::FileSizeLimit> diskFull;
    if (before == Before::sizeLimit) diskFull.emplace(4);
    const bool written = replaceFileContents(target, kNew);
    diskFull.reset();

    EXPECT_EQ(written, shouldWrite);
    EXPECT_EQ(entries(),
              entriesBefore.isEmpty() && written ? QStringList{"out.txt"} : entriesBefore);
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    if (before != Before::folder && before != Before::missingFolder) {
        EXPECT_EQ(sandbox.read("out.txt"), written ? kNew : kOld);
    }
    EXPECT_TRUE(before != Before::linkToFile || sandbox.read("elsewhere.txt") == kOld);
    struct stat status {};
    EXPECT_TRUE(before != Before::file ||
                (::stat(QFile::encodeName(target).constData(), &status) == 0 &&
                 (status.st_mode & 07777) == 0640));
}

INSTANTIATE_TEST_SUITE_P(, FileReplacement,
                         ::testing::Values(Row{"new_file", Before::nothing, true},
                                           Row{"longer_file_replaced", Before::file, true},
                                           Row{"link_replaced_not_followed", Before::linkToFile,
                                               true},
                                           Row{"folder_at_the_name", Before::folder, false},
                                           Row{"missing_folder", Before::missingFolder, false},
                                           Row{"disk_full", Before::sizeLimit, false}),
                         testing::CaseName());

}  // namespace
}  // namespace kestrane
