#include SOME_HEADER
