#pragma once
#include "menubar/menu_content.h"
