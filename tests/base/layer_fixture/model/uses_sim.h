#include "platform/sim/sim_desktop.h"
