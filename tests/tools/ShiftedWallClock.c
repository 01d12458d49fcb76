/* Preloaded into the Linux processes of Wine that run a clock under test: moves
 * the wall clock and leaves the monotonic clocks alone, so Wine's timers and
 * waits keep real time. libfaketime cannot do this for 32-bit Wine, which reads
 * the time through glibc's 64-bit-time entry points (__clock_gettime64,
 * __gettimeofday64) that libfaketime does not intercept.
 *
 * QUILLET_CLOCK_SHIFT       seconds added to the wall clock.
 * QUILLET_CLOCK_SHIFT_FILE  a file holding a number of seconds that, while the
 *                           file exists, replaces that shift; it is read again
 *                           whenever the file changes, so a test can set the time
 *                           of a clock that is running.
 * QUILLET_CLOCK_RATE        the wall clock runs this many times faster than real
 *                           time from the launch on. The first process of a launch
 *                           records its monotonic time in QUILLET_CLOCK_EPOCH, which
 *                           the processes it starts inherit, so that all of them
 *                           agree on the time. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#define NANOSECONDS 1000000000LL

static int (*realClockGettime)(clockid_t, struct timespec*);
static int64_t environmentShift;  /* seconds */
static int64_t rate = 1;
static int64_t epoch;             /* monotonic nanoseconds at the launch */
static const char* shiftFile;

/* The file's shift, kept between calls; threads race only to read the same file. */
static int fileShift;             /* seconds */
static int fileShiftKnown;
static struct stat fileSeen;

/* Another library's constructor may read the time before ours has run. */
static int readRealClock(clockid_t clock, struct timespec* now) {
    if (!realClockGettime) realClockGettime = (int (*)(clockid_t, struct timespec*))dlsym(RTLD_NEXT, "clock_gettime");
    return realClockGettime(clock, now);
}

static int64_t monotonicNanoseconds(void) {
    struct timespec t = {0, 0};
    readRealClock(CLOCK_MONOTONIC, &t);
    return (int64_t)t.tv_sec * NANOSECONDS + t.tv_nsec;
}

__attribute__((constructor)) static void readSettings(void) {
    const char* text = getenv("QUILLET_CLOCK_SHIFT");
    environmentShift = text ? strtoll(text, NULL, 10) : 0;
    shiftFile = getenv("QUILLET_CLOCK_SHIFT_FILE");
    text = getenv("QUILLET_CLOCK_RATE");
    if (text && strtoll(text, NULL, 10) > 1) rate = strtoll(text, NULL, 10);
    text = getenv("QUILLET_CLOCK_EPOCH");
    if (text) {
        epoch = strtoll(text, NULL, 10);
    } else {
        char number[32];
        epoch = monotonicNanoseconds();
        snprintf(number, sizeof number, "%lld", (long long)epoch);
        setenv("QUILLET_CLOCK_EPOCH", number, 1);
    }
}

static int64_t shiftSeconds(void) {
    struct stat now;
    if (!shiftFile || stat(shiftFile, &now) != 0) {
        return __atomic_load_n(&fileShiftKnown, __ATOMIC_ACQUIRE) ? __atomic_load_n(&fileShift, __ATOMIC_RELAXED)
                                                                  : environmentShift;
    }
    if (!__atomic_load_n(&fileShiftKnown, __ATOMIC_ACQUIRE) || now.st_ino != fileSeen.st_ino ||
        now.st_mtim.tv_sec != fileSeen.st_mtim.tv_sec || now.st_mtim.tv_nsec != fileSeen.st_mtim.tv_nsec) {
        char text[32] = {0};
        const int file = open(shiftFile, O_RDONLY);
        if (file >= 0) {
            if (read(file, text, sizeof text - 1) > 0) {
                __atomic_store_n(&fileShift, (int)strtol(text, NULL, 10), __ATOMIC_RELAXED);
                __atomic_store_n(&fileShiftKnown, 1, __ATOMIC_RELEASE);
                fileSeen = now;
            }
            close(file);
        }
    }
    return __atomic_load_n(&fileShiftKnown, __ATOMIC_ACQUIRE) ? __atomic_load_n(&fileShift, __ATOMIC_RELAXED)
                                                              : environmentShift;
}

/* Nanoseconds to add to the real wall clock now. */
static int64_t offsetNanoseconds(void) {
    int64_t offset = shiftSeconds() * NANOSECONDS;
    if (rate > 1) offset += (monotonicNanoseconds() - epoch) * (rate - 1);
    return offset;
}

static void addNanoseconds(int64_t* seconds, int64_t* fraction, int64_t perSecond, int64_t offset) {
    const int64_t inUnits = offset / (NANOSECONDS / perSecond);
    *seconds += inUnits / perSecond;
    *fraction += inUnits % perSecond;
    if (*fraction < 0) {
        *fraction += perSecond;
        *seconds -= 1;
    } else if (*fraction >= perSecond) {
        *fraction -= perSecond;
        *seconds += 1;
    }
}

static int isWallClock(clockid_t clock) {
    return clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE;
}

int clock_gettime(clockid_t clock, struct timespec* now) {
    const int result = readRealClock(clock, now);
    if (result == 0 && isWallClock(clock)) {
        int64_t seconds = now->tv_sec, nanoseconds = now->tv_nsec;
        addNanoseconds(&seconds, &nanoseconds, NANOSECONDS, offsetNanoseconds());
        now->tv_sec = (time_t)seconds;
        now->tv_nsec = (long)nanoseconds;
    }
    return result;
}

int gettimeofday(struct timeval* now, void* zone) {
    static int (*real)(struct timeval*, void*);
    if (!real) real = (int (*)(struct timeval*, void*))dlsym(RTLD_NEXT, "gettimeofday");
    const int result = real(now, zone);
    if (result == 0) {
        int64_t seconds = now->tv_sec, microseconds = now->tv_usec;
        addNanoseconds(&seconds, &microseconds, 1000000, offsetNanoseconds());
        now->tv_sec = (time_t)seconds;
        now->tv_usec = (suseconds_t)microseconds;
    }
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
    if (result == 0 && now && isWallClock(clock)) {
        int64_t nanoseconds = now->nanoseconds;
        addNanoseconds(&now->seconds, &nanoseconds, NANOSECONDS, offsetNanoseconds());
        now->nanoseconds = (int32_t)nanoseconds;
    }
    return result;
}

int __gettimeofday64(struct Timeval64* now, void* zone) {
    static int (*real)(struct Timeval64*, void*);
    if (!real) real = (int (*)(struct Timeval64*, void*))dlsym(RTLD_NEXT, "__gettimeofday64");
    const int result = real(now, zone);
    if (result == 0 && now) addNanoseconds(&now->seconds, &now->microseconds, 1000000, offsetNanoseconds());
    return result;
}
#endif
