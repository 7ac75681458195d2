// Includes that keep to the layers.
#include <vector>
#include <sys/stat.h>
#include "base/observable.h"
#include "platform/status_item.h"
#include "scroll/scroll_configuration.h"
#include "settings/app_settings.h"
#include "model/app_model.h"
#include "menubar/menu_content.h"
