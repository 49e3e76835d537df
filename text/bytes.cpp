#include "text/bytes.h"
