#include "model/app_model.h"
