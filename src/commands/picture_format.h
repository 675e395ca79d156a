#pragma once
// Portable: no <windows.h>. (Filled in with the feature that needs it.)
