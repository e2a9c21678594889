// Placeholder until the built-in pictures land.
#include "support/qapixmaps.h"
const char *const *qaBuiltinXpm(const char *) { return nullptr; }
