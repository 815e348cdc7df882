#include <cstdio>

int main()
{
    fputs("VadadiDazidev: start-up is not built yet.\n", stderr);
    return 0;
}
