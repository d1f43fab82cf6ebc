// The "Calculo poblacional" screen: not yet built.
#include "analysis.h"
void calculo_poblacional(int*, int*, int, int, int) {}
