// The instrument's decoded identity lives with the records
// (records/deviceinfo.h), whose conversion needs its range lists.
#pragma once

#include "records/deviceinfo.h"
