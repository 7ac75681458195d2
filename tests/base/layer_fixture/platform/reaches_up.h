#include "scroll/scroll_configuration.h"
