#include "dialogs/install.h"

#include "workspace/form1.h"

namespace kestrane {

void installHandlers(form1& main) { (void)main; }

}  // namespace kestrane
