#include "menubar/menu_content.h"
