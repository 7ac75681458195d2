#include <console/console.h>
