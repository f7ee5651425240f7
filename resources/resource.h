// Numeric ids shared by the resource script and the code.
#pragma once

#define IDR_APP_MANIFEST 1
#define IDV_VERSION 1
