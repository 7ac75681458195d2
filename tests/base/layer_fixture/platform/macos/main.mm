#import "platform/macos/mac_platform.h"
#include "menubar/wheelright_app.h"
