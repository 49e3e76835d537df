#include "text/gbktext.h"
