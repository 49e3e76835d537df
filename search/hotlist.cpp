#include "search/hotlist.h"
