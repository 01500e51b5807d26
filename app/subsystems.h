#pragma once

namespace kestrane {

class form1;

// Hands the main window's handlers to the subsystems that own them: opening pictures, selection,
// the 3D graph, the settings dialog and the range export.
void installSubsystems(form1& main);

}  // namespace kestrane
