#include <string>
#include <CoreGraphics/CoreGraphics.h>
