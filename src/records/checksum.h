// The CRC lives at the bottom layer (base/checksum.h), where the settings
// file and the string file use it too; the record formats reach it here.
#pragma once

#include "base/checksum.h"
