/* A preloaded library that notes when a program presents its first drawn frame.
 *
 * It wraps SDL_ShowWindow, glClear and SDL_GL_SwapWindow. The first frame counts from the
 * first buffer swap that follows a clear made after the window was shown: swaps of a hidden
 * window, and a swap that only re-presents an old buffer, are not a drawn frame the user sees.
 * At that swap it writes the CLOCK_MONOTONIC time in nanoseconds, the peak resident memory in
 * KiB and the CPU time of all threads in microseconds to the file named by QUORVANE_PROBE_FILE
 * and ends the process at once, so that only start-up is measured. Without that variable it does nothing but pass the calls on.
 *
 * Linux only (dlsym with RTLD_NEXT, /proc-free getrusage). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

typedef struct SDL_Window SDL_Window;

static int gShown = 0;
static int gClearedSinceShown = 0;

static void* NextSymbol(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == NULL) {
        fprintf(stderr, "first_frame_probe: %s not found\n", name);
        _exit(90);
    }
    return symbol;
}

static void RecordAndExit(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const char* path = getenv("QUORVANE_PROBE_FILE");
    char line[128];
    const long long cpuMicroseconds = ((long long)usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                                      usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    const int length = snprintf(line, sizeof line, "%lld %ld %lld\n",
                                (long long)now.tv_sec * 1000000000LL + now.tv_nsec, usage.ru_maxrss, cpuMicroseconds);
    const int file = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file >= 0) {
        if (write(file, line, (size_t)length) != length) {
            _exit(91);
        }
        close(file);
    }
    _exit(file >= 0 ? 0 : 92);
}

void SDL_ShowWindow(SDL_Window* window)
{
    static void (*next)(SDL_Window*) = NULL;
    if (next == NULL) {
        next = (void (*)(SDL_Window*))NextSymbol("SDL_ShowWindow");
    }
    next(window);
    gShown = 1;
}

void glClear(unsigned int mask)
{
    static void (*next)(unsigned int) = NULL;
    if (next == NULL) {
        next = (void (*)(unsigned int))NextSymbol("glClear");
    }
    next(mask);
    gClearedSinceShown |= gShown;
}

void SDL_GL_SwapWindow(SDL_Window* window)
{
    static void (*next)(SDL_Window*) = NULL;
    if (next == NULL) {
        next = (void (*)(SDL_Window*))NextSymbol("SDL_GL_SwapWindow");
    }
    next(window);
    if (gClearedSinceShown && getenv("QUORVANE_PROBE_FILE") != NULL) {
        RecordAndExit();
    }
}
