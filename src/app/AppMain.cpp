#include "AppMain.h"

#include <cstdio>

int applicationMain(int, char**) {
    std::puts("kavrin-player: the window comes with the application shell");
    return 0;
}
