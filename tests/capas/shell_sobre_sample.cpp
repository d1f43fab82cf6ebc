// Must not compile: the shell is the ground floor and cannot see the sample.
#include "sample.h"
