// Placeholder until the editor widget lands; keeps the library buildable.
#include "document/qavmreditor.h"
