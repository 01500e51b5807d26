#include <QApplication>

#include "dialogs/install.h"
#include "windowing/form_slot.h"
#include "workspace/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kestrane::form1& main = kestrane::form<kestrane::form1>();
    kestrane::installHandlers(main);
    return QApplication::exec();
}
