// The protected locations moved to the platform layer, where the inventory
// needs them too; this name stays for code written against the old place.
#pragma once

#include "platform/protected_locations.h"
