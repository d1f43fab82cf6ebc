// The results report: not yet built.
#include "export.h"

int exporta_todo(int*, float*, float*, int*, int) { return 0; }
