#pragma once

namespace kestrane {

class form1;

// Connects every subsystem's handlers to the main window.
void installHandlers(form1& main);

}  // namespace kestrane
