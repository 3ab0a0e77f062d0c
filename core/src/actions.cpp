#include "kalvitra/actions.h"
// (being written)
