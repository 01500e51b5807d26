#include "app/subsystems.h"

#include "dialogs/form4.h"
#include "dialogs/open_command.h"
#include "dialogs/range_export.h"
#include "graph3d/graph_redraw.h"
#include "selection/region_selection.h"
#include "workspace/form1.h"

namespace kestrane {

void installSubsystems(form1& main) {
    installOpenCommand(main);
    installSelection(main);
    installGraph(main);
    installSettingsDialog(main);
    installRangeExport(main);
}

}  // namespace kestrane
