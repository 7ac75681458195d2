#include <vector>
#include "platform/user_defaults.h"
#include "platform/sim/sim_desktop.h"
