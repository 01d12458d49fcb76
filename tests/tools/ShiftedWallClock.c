/* Preloaded into the Linux processes of Wine that run a clock under test: moves
 * the wall clock by QUILLET_CLOCK_SHIFT seconds and leaves the monotonic clocks
 * alone, so Wine's timers and waits keep real time. libfaketime cannot do this for
 * 32-bit Wine, which reads the time through glibc's 64-bit-time entry points
 * (__clock_gettime64, __gettimeofday64) that libfaketime does not intercept. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/time.h>
#include <time.h>

static int64_t shiftSeconds(void) {
    static int known = 0;
    static int64_t shift = 0;
    if (!known) {
        const char* text = getenv("QUILLET_CLOCK_SHIFT");
        shift = text ? strtoll(text, NULL, 10) : 0;
        known = 1;
    }
    return shift;
}

static int isWallClock(clockid_t clock) {
    return clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE;
}

int clock_gettime(clockid_t clock, struct timespec* now) {
    static int (*real)(clockid_t, struct timespec*);
    if (!real) real = (int (*)(clockid_t, struct timespec*))dlsym(RTLD_NEXT, "clock_gettime");
    const int result = real(clock, now);
    if (result == 0 && isWallClock(clock)) now->tv_sec += (time_t)shiftSeconds();
    return result;
}

int gettimeofday(struct timeval* now, void* zone) {
    static int (*real)(struct timeval*, void*);
    if (!real) real = (int (*)(struct timeval*, void*))dlsym(RTLD_NEXT, "gettimeofday");
    const int result = real(now, zone);
    if (result == 0) now->tv_sec += (time_t)shiftSeconds();
    return result;
}

#if defined(__i386__)
/* glibc's layout of the 64-bit-time structures on i386. */
struct Timespec64 {
    int64_t seconds;
    int32_t nanoseconds;
    int32_t padding;
};
struct Timeval64 {
    int64_t seconds;
    int64_t microseconds;
};

int __clock_gettime64(clockid_t clock, struct Timespec64* now) {
    static int (*real)(clockid_t, struct Timespec64*);
    if (!real) real = (int (*)(clockid_t, struct Timespec64*))dlsym(RTLD_NEXT, "__clock_gettime64");
    const int result = real(clock, now);
    if (result == 0 && now && isWallClock(clock)) now->seconds += shiftSeconds();
    return result;
}

int __gettimeofday64(struct Timeval64* now, void* zone) {
    static int (*real)(struct Timeval64*, void*);
    if (!real) real = (int (*)(struct Timeval64*, void*))dlsym(RTLD_NEXT, "__gettimeofday64");
    const int result = real(now, zone);
    if (result == 0 && now) now->seconds += shiftSeconds();
    return result;
}
#endif
