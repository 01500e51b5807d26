#include "dialogs/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/file_size_limit.h"
#include "tests/support/sandbox.h"
#include "windowing/file_names.h"

namespace kestrane {

TEST(SettingsFile, ReadsTheFirstFieldOrRefuses) {
    const std::pair<QByteArray, std::optional<QString>> rows[]{
        {"/a/\r\n/b/\r\n", "/a/"},
        {"  /a,b/\n", "/a"},
        {"\"/a,b/\",c\r\n", "/a,b/"},
        {"/a/," + QByteArray(10000, 'x'), "/a/"},
        {"/\xE3\x83\x87/\r\n", QString::fromUtf8("/デ/")},
        {QByteArray(4096, '/'), QString(4096, '/')},
        {QByteArray(4097, '/'), std::nullopt},
        {'"' + QByteArray(4095, '/') + '"', std::nullopt},
        {"", std::nullopt},
        {"  ,/a/\r\n", std::nullopt},
        {"\"/a/\r\n", std::nullopt},
        {"\"/a\r/\"\r\n", std::nullopt},
        {QByteArray("/a\0b/", 5), std::nullopt},
        {"\xFF\xFE\x80/\r\n", decodeFileName("\xFF\xFE\x80/")}};
    for (const auto& [content, field] : rows) {
        EXPECT_EQ(readFirstField(content), field) << content.left(20).toHex(' ').constData();
    }
}

// The whole file becomes one line (the root's with a doubled separator, a name's own bytes
// whatever they are); a failed write, below a regular file or on a full disk, leaves the file as
// it was.
TEST(SettingsFile, WritesOneLineOrLeavesTheFile) {
    const testing::Sandbox sandbox;
    const QString latin1 = decodeFileName("/caf\xE9");
    for (const auto& [directory, line] :
         {std::pair<QString, QByteArray>{"/", "//\r\n"}, {latin1, "/caf\xE9/\r\n"}}) {
        sandbox.write("Kestrane.ini", "/a/longer/previous/line/\r\n/and/more/\r\n");
        ASSERT_TRUE(writeLastDirectory(settingsFilePath(), directory));
        EXPECT_EQ(sandbox.read("Kestrane.ini"), line);
        EXPECT_EQ(readLastDirectory(settingsFilePath()), directory + '/');
    }
    EXPECT_FALSE(writeLastDirectory(sandbox.file("Kestrane.ini/Kestrane.ini"), "/tmp"));
    {
        const testing::FileSizeLimit diskFull(4);
        EXPECT_FALSE(writeLastDirectory(settingsFilePath(), "/tmp"));
    }
    EXPECT_EQ(sandbox.read("Kestrane.ini"), "/caf\xE9/\r\n");
}

// A named pipe in the file's place is not read, which would wait for a writer for good, and a
// write replaces it with the file.
TEST(SettingsFile, NamedPipeIsNeitherReadNorWrittenThrough) {
    const testing::Sandbox sandbox;
    ASSERT_EQ(::mkfifo("Kestrane.ini", 0600), 0);
    EXPECT_EQ(readLastDirectory(settingsFilePath()), std::nullopt);
    ASSERT_TRUE(writeLastDirectory(settingsFilePath(), "/"));
    EXPECT_EQ(sandbox.read("Kestrane.ini"), "//\r\n");
}

}  // namespace kestrane
