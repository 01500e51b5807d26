#include "workspace/imgctl.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>

#include "tests/support/file_size_limit.h"
#include "tests/support/sandbox.h"
#include "workspace/imgctl_util.h"

namespace kestrane {

// A JPEG the disk cannot hold whole, short by one byte, leaves the old file as it was. (The
// picture's JPEG is larger than a file's write buffer, which once hid the failure.)
TEST(Imgctl, FullDiskLeavesTheOldJpeg) {
    const testing::Sandbox sandbox;
    ASSERT_TRUE(QImage(KESTRANE_TEST_DATA "/open_1024x1024.gif").save("3Dtemp.bmp"));
    ASSERT_TRUE(convertBmpFileToJpg("whole.jpg", "3Dtemp.bmp", 90, 0));
    ASSERT_GT(QFileInfo("whole.jpg").size(), 16384);
    sandbox.write("old.jpg", "old");
    const testing::FileSizeLimit diskFull(QFileInfo("whole.jpg").size() - 1);
    EXPECT_FALSE(convertBmpFileToJpg("old.jpg", "3Dtemp.bmp", 90, 0));
    EXPECT_EQ(sandbox.read("old.jpg"), "old");
}

// A freed handle stays refused after the next bitmap is read; a file that is no BMP gets none.
TEST(Imgctl, NeverGivesAFreedHandleOutAgainAtOnce) {
    const testing::Sandbox sandbox;
    sandbox.write("text.bmp", "text");
    EXPECT_EQ(BMPtoDIB("text.bmp"), 0);
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save("a.bmp"));
    const std::int32_t freed = BMPtoDIB("a.bmp");
    ASSERT_EQ(DeleteDIB(freed), 1);
    const std::int32_t next = BMPtoDIB("a.bmp");
    EXPECT_EQ(DeleteDIB(freed), 0);
    EXPECT_EQ(DeleteDIB(next), 1);
}

constexpr std::int32_t kThrows = -1;  // as an entry's result: the entry throws it instead

TEST(Imgctl, FreesEveryBitmapItGetsWhateverTheJpegEntryDoes) {
    const QString freed = "BMPtoDIB DIBtoJPG DeleteDIB(7) ";
    const std::tuple<std::int32_t, std::int32_t, QString> rows[] = {
        {0, 1, "BMPtoDIB "}, {7, 0, freed}, {7, kThrows, freed}};  // handle, written, calls
    for (const auto& [handle, written, calls] : rows) {
        QString log;
        const auto call = [&](const QString& name, std::int32_t result) {
            log += name + " ";
            return result != kThrows ? result : throw result;
        };
        const ImgctlEntries fakes{
            [&](auto) { return call("BMPtoDIB", handle); },
            [&](auto...) { return call("DIBtoJPG", written); },
            [&](std::int32_t bitmap) { return call(QString("DeleteDIB(%1)").arg(bitmap), 1); }};
        EXPECT_FALSE(convertBmpFileToJpg("out.jpg", "3Dtemp.bmp", 90, 0, fakes));
        EXPECT_EQ(log, calls);
    }
}

}  // namespace kestrane
