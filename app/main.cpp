#include <QApplication>
#include <QIcon>

#include "dialogs/form4.h"
#include "dialogs/open_command.h"
#include "dialogs/range_export.h"
#include "graph3d/graph_redraw.h"
#include "selection/region_selection.h"
#include "windowing/form_slot.h"
#include "workspace/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name picks the user's folders for an installed copy and ties the windows to the
    // desktop entry.
    QApplication::setApplicationName("kestrane");
    QApplication::setDesktopFileName("kestrane");
    QApplication::setWindowIcon(QIcon(":/kestrane.svg"));
    kestrane::form1& main = kestrane::form<kestrane::form1>();
    kestrane::installOpenCommand(main);
    kestrane::installSelection(main);
    kestrane::installGraph(main);
    kestrane::installSettingsDialog(main);
    kestrane::installRangeExport(main);
    return QApplication::exec();
}
