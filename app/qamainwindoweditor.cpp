// Placeholder until the main window lands; keeps the library buildable.
#include "app/qamainwindoweditor.h"
