#include "search/openresult.h"
