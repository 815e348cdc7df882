/* Preloaded into a program under measure: after each swap of a window it writes the number of
   swaps so far to the file named by FRAME_COUNT_FILE. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

typedef struct SDL_Window SDL_Window;

void SDL_GL_SwapWindow(SDL_Window* window)
{
    static void (*swap)(SDL_Window*) = NULL;
    static long long count = 0;
    static int file = -1;
    if (!swap)
        swap = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    swap(window);
    if (file < 0 && getenv("FRAME_COUNT_FILE"))
        file = open(getenv("FRAME_COUNT_FILE"), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    char text[32];
    int length = snprintf(text, sizeof text, "%020lld\n", ++count);
    if (file >= 0 && pwrite(file, text, (size_t)length, 0) != length)
        file = -1;
}
