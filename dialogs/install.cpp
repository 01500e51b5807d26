#include "dialogs/install.h"

#include "dialogs/open_command.h"
#include "workspace/form1.h"

namespace kestrane {

void installHandlers(form1& main) { installOpenCommand(main); }

}  // namespace kestrane
