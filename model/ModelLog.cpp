#include "ModelLog.h"

// Enabled for every level by default, so that the tools sharing this code keep their output; the
// editor turns debug off unless asked for.
Q_LOGGING_CATEGORY(lcModel, "lumetto.model")
