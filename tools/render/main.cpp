// lumivortex-render: renders frames of the animation to PNG files,
// repeatably and as fast as the machine allows.
//   lumivortex-render --frames 300 --every 300 --size 960x540 --seed 7 --out pictures
#include <cstdio>
#include <string>

#include "offscreen_session.h"
#include "render_options.h"

int main(int argc, char** argv) {
    using namespace lumivortex::render_tool;
    std::string error;
    const auto options = parseRenderOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "lumivortex-render: %s\n%s", error.c_str(), usageText);
        return 2;
    }
    if (options->helpOnly) {
        std::fputs(usageText, stdout);
        return 0;
    }
    if (renderOffscreen(*options, error) != 0) {
        std::fprintf(stderr, "lumivortex-render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
