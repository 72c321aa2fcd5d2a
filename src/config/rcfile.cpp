// STUB: replaced by the resource-file implementation.
#include "config/rcfile.h"
void parsercfile(FILE *) {}
