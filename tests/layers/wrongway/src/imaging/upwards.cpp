#include "imaging/rotation.h"
#include "view/spic.h"
