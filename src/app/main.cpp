#include "app/AppMain.h"

#include <malloc.h>

int main(int argc, char** argv) {
    // Every channel has decoder and render threads of its own; left alone, glibc
    // gives them dozens of malloc arenas that keep growing from one recording to
    // the next. Two arenas hold the player's memory flat, and a desktop launch
    // cannot be relied on to set MALLOC_ARENA_MAX.
    mallopt(M_ARENA_MAX, 2);
    return applicationMain(argc, argv);
}
