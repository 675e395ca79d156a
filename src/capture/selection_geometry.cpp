#include "selection_geometry.h"
