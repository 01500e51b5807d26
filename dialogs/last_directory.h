#pragma once

#include <QString>

namespace kestrane {

// The file dialogs remember the directory they were last left in through the settings file.

// Run when a file dialog is created: makes the recorded directory the working directory. When
// the settings file is missing, holds no usable first field, or names something that cannot be
// entered, it records dialogDirectory (the directory the dialog's list shows) instead and makes
// the application folder the working directory (an installed copy's sample pictures, see
// unrememberedFolder). Nothing is shown either way.
void restoreLastDirectory(const QString& dialogDirectory);

// Run before an open dialog is made: while no folder is remembered, a copy that keeps its sample
// pictures elsewhere moves into them, so that its first open dialog lists them.
void enterSamplesBeforeFirstDialog();

// Run when a file dialog is destroyed: records dialogDirectory as the settings file's one line.
// A settings file that cannot be written is left as it was; the program carries on.
void storeLastDirectory(const QString& dialogDirectory);

}  // namespace kestrane
