#pragma once
// Read-only access to resources of the program file (skin pictures, help page, cabinet).
#include <cstddef>

// The bytes of resource (type, id) of the program's own module; they live as long as the
// program. Stores the size in sizeOut when given. A resource that is missing, empty or cannot
// be loaded throws WindowException from the system's last error code.
const void* findResourceData(const wchar_t* type, int id, unsigned long* sizeOut);
