#pragma once

#include "platform/Platform.h"

namespace pd {

// Asks before the program ends, since the next run starts the draw from scratch and
// overwrites the results file. OK ends the process at once; returns whether the window may
// close (false on Cancel).
bool confirmExit(Dialogs& dialogs, Desktop& desktop);

} // namespace pd
