#include "search/searchrun.h"
