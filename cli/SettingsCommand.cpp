#include "cli/Commands.h"

// Filled in by the command's own change; until then it only explains usage.
int runSettings(const Arguments&) { return usage(); }
