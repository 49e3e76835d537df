#include "web/webaccess.h"
