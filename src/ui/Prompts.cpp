#include "ui/Prompts.h"

// The interface is header-only; this unit anchors the library that carries it.
