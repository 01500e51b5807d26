#pragma once

#include <QString>

namespace kestrane {

// The folder of the program file.
QString applicationFolder();
// Points the program at another folder; tests use a sandbox.
void setApplicationFolder(const QString& folder);

// Where a file the program keeps lives: beside the program, or in one of the user's own folders.
enum class FilePlace { besideProgram, userFolder };

// A copy in a folder the user can write keeps its files beside itself; installed where the user
// cannot write, it keeps them in the user's own folders. A settings file already beside the
// program is still the one read, and written where the file itself allows it.
FilePlace settingsPlace(bool folderWritable, bool settingsBeside);
FilePlace bitmapPlace(bool folderWritable);

// Where the working directory goes when no directory is remembered yet: the application folder,
// or, for a copy installed where the user cannot write, its sample pictures when they are there.
enum class UnrememberedFolder { application, samples };
UnrememberedFolder unrememberedFolderPlace(bool folderWritable, bool samplesPresent);
// The folder unrememberedFolderPlace picks for this copy; the samples of an installed copy are
// in share/kestrane/samples beside its bin folder.
QString unrememberedFolder();

// The settings file of that name: beside the program or in the user's configuration folder.
QString settingsFileNamed(const QString& name);
// A temporary bitmap of that name: beside the program or in the user's cache folder.
QString temporaryFileNamed(const QString& name);

}  // namespace kestrane
