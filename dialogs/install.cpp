#include "dialogs/install.h"

#include "dialogs/form4.h"
#include "dialogs/open_command.h"
#include "graph3d/graph_redraw.h"
#include "workspace/form1.h"

namespace kestrane {

void installHandlers(form1& main) {
    installGraph(main);
    installSettingsDialog();
    installOpenCommand(main);
}

}  // namespace kestrane
