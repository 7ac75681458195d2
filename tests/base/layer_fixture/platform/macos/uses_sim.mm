#import "platform/sim/sim_desktop.h"
