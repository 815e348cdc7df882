// The least an SDL and OpenGL program does to present a picture at a rate: a window over the
// whole display shows the picture (a binary PPM of the display's size) as one textured quad, its
// swaps a period apart, until it is told to end. Usage: minimal_menu_frames PICTURE.ppm RATE
#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

volatile sig_atomic_t g_ended = 0;

void OnEnd(int)
{
    g_ended = 1;
}

bool ReadPicture(const char* path, int* width, int* height, std::vector<unsigned char>* rgb)
{
    FILE* file = std::fopen(path, "rb");
    int depth = 0;
    bool read = file && std::fscanf(file, "P6 %d %d %d", width, height, &depth) == 3 && depth == 255 &&
                std::fgetc(file) != EOF;
    if (read) {
        rgb->resize(static_cast<size_t>(*width) * *height * 3);
        read = std::fread(rgb->data(), 1, rgb->size(), file) == rgb->size();
    }
    if (file)
        std::fclose(file);
    return read;
}

} // namespace

int main(int argc, char** argv)
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    if (argc < 3 || !ReadPicture(argv[1], &width, &height, &rgb) || SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    const Uint64 period = SDL_GetPerformanceFrequency() / static_cast<Uint64>(std::max(1, std::atoi(argv[2])));
    std::signal(SIGTERM, OnEnd);
    SDL_Window* window = SDL_CreateWindow("Minimal", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context)
        return 1;
    SDL_GL_SetSwapInterval(1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glEnable(GL_TEXTURE_2D);
    glViewport(0, 0, width, height);
    Uint64 due = SDL_GetPerformanceCounter();
    while (!g_ended) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(-1.0f, -1.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(1.0f, -1.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(1.0f, 1.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(-1.0f, 1.0f);
        glEnd();
        SDL_GL_SwapWindow(window);
        due += period;
        const Uint64 now = SDL_GetPerformanceCounter();
        if (now < due)
            SDL_Delay(static_cast<Uint32>((due - now) * 1000 / SDL_GetPerformanceFrequency()));
        else
            due = now;
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
