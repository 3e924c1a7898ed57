#include "common/QtTestMain.h"

int main(int argc, char** argv) {
    return runQtTests(argc, argv);
}
