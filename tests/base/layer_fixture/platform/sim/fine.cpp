#include "base/observable.h"
#include "platform/event_tap_services.h"
#include "platform/sim/sim_run_loop.h"
