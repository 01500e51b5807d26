#include "windowing/file_names.h"

#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/sandbox.h"

namespace {
// Some file systems report no entry types; while this is set, every entry read reads like theirs.
bool entryTypesUnknown = false;
}  // namespace

extern "C" dirent* readdir(DIR* folder) {
    static const auto next = reinterpret_cast<dirent* (*)(DIR*)>(::dlsym(RTLD_NEXT, "readdir"));
    dirent* entry = next(folder);
    if (entry != nullptr && entryTypesUnknown) entry->d_type = DT_UNKNOWN;
    return entry;
}

namespace kestrane {

// Every name comes back to its own bytes; what is not UTF-8 shows as U+FFFD, byte by byte. Each
// is read from a view that a continuation byte follows, which must stay unread.
TEST(FileNames, DecodeToTheSameBytes) {
    const std::pair<QByteArray, QString> rows[]{
        {"\xF0\x9F\x98\x80", QString::fromUtf8("\xF0\x9F\x98\x80")},
        // U+10080, whose low surrogate is one that also holds an escaped byte.
        {"\xF0\x90\x82\x80", QString::fromUtf8("\xF0\x90\x82\x80")},
        {"\xEF\xBF\xBD\xE9",
         QString(2, QChar::ReplacementCharacter)},  // a real U+FFFD, then Latin-1
        {"caf\xE9.gif", QString::fromUtf8("caf\xEF\xBF\xBD.gif")},
        {"\xC0\xAF", QString(2, QChar::ReplacementCharacter)},          // overlong "/"
        {"\xED\xA0\x80", QString(3, QChar::ReplacementCharacter)},      // a surrogate's code
        {"\xF4\x90\x80\x80", QString(4, QChar::ReplacementCharacter)},  // beyond U+10FFFF
        {"\xE7\x94", QString(2, QChar::ReplacementCharacter)},          // cut short
    };
    for (const auto& [bytes, shown] : rows) {
        const QByteArray followed = bytes + '\x80';
        const QString name = decodeFileName(QByteArrayView(followed).first(bytes.size()));
        EXPECT_EQ(encodeFileName(name), bytes) << bytes.toHex(' ').constData();
        EXPECT_EQ(displayFileName(name), shown) << bytes.toHex(' ').constData();
    }
}

// Which entries each list takes, and which names open as regular files without blocking.
TEST(FileNames, ListAndOpenOnlyFoldersAndRegularFiles) {
    const testing::Sandbox sandbox;
    ASSERT_TRUE(QDir().mkdir("folder"));
    sandbox.write("File", "x");
    sandbox.write(".hidden", "x");
    sandbox.write(decodeFileName("caf\xE9"), "x");
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    ASSERT_EQ(::symlink("folder", "to folder"), 0);
    ASSERT_EQ(::symlink("File", "to file"), 0);
    ASSERT_EQ(::symlink("missing", "nowhere"), 0);
    for (const bool typesUnknown : {false, true}) {
        entryTypesUnknown = typesUnknown;
        EXPECT_EQ(directoryEntries(".", EntryKind::Folder), QStringList({"folder", "to folder"}));
        EXPECT_EQ(directoryEntries(".", EntryKind::File),
                  QStringList({decodeFileName("caf\xE9"), "File", "to file"}));
    }
    entryTypesUnknown = false;
    EXPECT_EQ(directoryEntries("missing", EntryKind::File), QStringList());
    QFile file;
    for (const auto& [name, regular] : {std::pair<QString, bool>{"to file", true},
                                        {decodeFileName("caf\xE9"), true},
                                        {"pipe", false},
                                        {"folder", false},
                                        {"nowhere", false}}) {
        EXPECT_EQ(openRegularFile(file, name), regular) << name.toStdString();
        EXPECT_EQ(file.isOpen() ? file.readAll() : QByteArray(), regular ? "x" : "");
    }
}

}  // namespace kestrane
