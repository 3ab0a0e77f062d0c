#include "kalvitra/numbers.h"
// (being written)
