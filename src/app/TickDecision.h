// What one timer tick has to do, decided from the shown time and the new time.
#pragma once

#include "util/Platform.h"

struct TickDecision {
    bool dateChanged = false;
    bool minuteChanged = false;
    bool sameSecond = false;  // nothing at all happens on this tick
    bool refreshFace = false; // `now` takes the new time and the face is rebuilt
    bool reloadDay = false;   // today's schedules are read from the data file again
};

// `dayListUnread`: the last reading of today's schedules could not open the data
// file (another program held it), so it is tried again at each new minute.
inline TickDecision decideTick(const SYSTEMTIME& shown, const SYSTEMTIME& t, bool showSeconds,
                               bool dayListUnread = false) {
    TickDecision d;
    d.dateChanged = t.wYear != shown.wYear || t.wMonth != shown.wMonth || t.wDay != shown.wDay;
    d.minuteChanged = t.wHour != shown.wHour || t.wMinute != shown.wMinute;
    d.reloadDay = d.dateChanged || (d.minuteChanged && dayListUnread);
    d.sameSecond = t.wSecond == shown.wSecond;
    d.refreshFace = !d.sameSecond && (d.dateChanged || d.minuteChanged || showSeconds);
    return d;
}
