#include "dialogs/file_dialog.h"

#include "dialogs/last_directory.h"
#include "windowing/dir_list_box.h"
#include "windowing/drive_list_box.h"
#include "windowing/file_list_box.h"

namespace kestrane {

FileDialog::FileDialog(const QString& caption, int clientWidth, int clientHeight,
                       const QString& pattern)
    : FormWindow(caption, clientWidth, clientHeight) {
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(this, pattern);

    connect(Drive1, &DriveListBox::Change, this, &FileDialog::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &FileDialog::Dir1_Change);
}

// The lists read the disk with their pattern when the dialog was made, a moment ago. The directory
// restored here is where the next dialog starts, since this one's lists are already filled.
void FileDialog::Form_Load() { restoreLastDirectory(Dir1->path()); }

void FileDialog::Form_Unload() { storeLastDirectory(Dir1->path()); }

void FileDialog::Drive1_Change() { Dir1->setPath(currentDirectoryOnDrive(Drive1->drive())); }

void FileDialog::Dir1_Change() { File1->setPath(Dir1->path()); }

}  // namespace kestrane
