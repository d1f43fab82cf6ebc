// Must not compile: the analyses cannot see the report writer above them.
#include "export.h"
