#include "dialogs/settings_file.h"

#include <gtest/gtest.h>

#include "tests/support/sandbox.h"

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
        {"", std::nullopt},
        {"  ,/a/\r\n", std::nullopt},
        {"\"/a/\r\n", std::nullopt},
        {QByteArray("/a\0b/", 5), std::nullopt},
        {"\xFF\xFE\x80/\r\n", std::nullopt}};
    for (const auto& [content, field] : rows) {
        EXPECT_EQ(readFirstField(content), field) << content.left(20).toHex(' ').constData();
    }
}

// The whole file becomes one line (the root's with a doubled separator); below a regular file the
// write fails and that file stays as it was.
TEST(SettingsFile, WritesOneLineOrFailsBelowARegularFile) {
    const testing::Sandbox sandbox;
    const QString japanese = sandbox.file("画像");
    for (const auto& [directory, line] :
         {std::pair<QString, QByteArray>{"/", "//\r\n"}, {japanese, japanese.toUtf8() + "/\r\n"}}) {
        sandbox.write("Kestrane.ini", "/a/longer/previous/line/\r\n/and/more/\r\n");
        ASSERT_TRUE(writeLastDirectory(settingsFilePath(), directory));
        EXPECT_EQ(sandbox.read("Kestrane.ini"), line);
    }
    EXPECT_FALSE(writeLastDirectory(sandbox.file("Kestrane.ini/Kestrane.ini"), "/tmp"));
    EXPECT_EQ(sandbox.read("Kestrane.ini"), japanese.toUtf8() + "/\r\n");
}

}  // namespace kestrane
