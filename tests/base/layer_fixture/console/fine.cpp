#include "platform/sim/sim_desktop.h"
#include "menubar/wheelright_app.h"
