#include "picture_format.h"
