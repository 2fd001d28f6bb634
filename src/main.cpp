// Program entry: the application registers itself with the host during
// program initialisation, then the host runs.
#include "host/host_main.h"

int main(int argc, char** argv) {
    return lumivortex::hostMain(argc, argv);
}
