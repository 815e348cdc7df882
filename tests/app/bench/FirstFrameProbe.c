/* Preloaded into a program under measure: at its first swap of a window it writes the monotonic
   time in nanoseconds to the file named by FIRST_FRAME_FILE and ends the process. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

typedef struct SDL_Window SDL_Window;

void SDL_GL_SwapWindow(SDL_Window* window)
{
    void (*swap)(SDL_Window*) = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    swap(window);
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = getenv("FIRST_FRAME_FILE");
    FILE* file = path ? fopen(path, "w") : NULL;
    if (file) {
        fprintf(file, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        fclose(file);
    }
    _exit(0);
}
