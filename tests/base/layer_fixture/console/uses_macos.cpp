#include "platform/macos/mac_platform.h"
