// The usage classes of one program from the calendar fields of local dates:
// how long ago it was last used and, from that, how often it is used.
#pragma once

#include "inventory/soft_info.h"
#include "platform/date_time.h"

namespace orvix {

// Calendar distance from the last use to now; a last use after now is unknown.
TAppUseRange ClassifyUseRange(TDateTime lastUse, TDateTime now);

// Often up to two weeks, less up to two months, rarely beyond, except for a
// program installed within about the last two months (unknown: too new to
// tell). An unknown range keeps `previous`. An install date of 0 counts as
// a past year.
TAppUseRate ClassifyUseRate(TAppUseRange range, TDateTime installDate, TDateTime now, TAppUseRate previous);

}  // namespace orvix
