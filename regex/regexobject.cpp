#include "regex/regexobject.h"
