#include "search/sharesite.h"
