#include "cli/Commands.h"

// Filled in by the command's own change; until then it only explains usage.
int runExport(const Arguments&) { return usage(); }
