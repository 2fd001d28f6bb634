// Program entry: the application registers itself with the host during
// program initialisation, then the host runs.
#include "host/host_main.h"
#include "scene/scene_program.h"

int main(int argc, char** argv) {
    lumivortex::initialiseProgram();
    return lumivortex::hostMain(argc, argv);
}
