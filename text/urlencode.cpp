#include "text/urlencode.h"
