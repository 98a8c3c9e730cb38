/* A preloaded library for minigolf-bench idle: records the moment of every buffer swap of the
 * program it is loaded into, as 8-byte CLOCK_MONOTONIC nanosecond counts appended to the file
 * named by MG_SWAP_LOG. It changes nothing else: the swap itself is the library's. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

typedef void (*SwapFunction)(void* display, unsigned long drawable);

void glXSwapBuffers(void* display, unsigned long drawable)
{
    static SwapFunction next = 0;
    static int log = -2;
    if (!next) next = (SwapFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (log == -2) {
        const char* path = getenv("MG_SWAP_LOG");
        log = path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600) : -1;
    }
    if (next) next(display, drawable);
    if (log >= 0) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const uint64_t ns = (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
        if (write(log, &ns, sizeof ns) != (ssize_t)sizeof ns) { /* a lost sample only */ }
    }
}
