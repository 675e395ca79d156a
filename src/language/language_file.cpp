#include "language_file.h"
