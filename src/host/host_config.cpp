// The registered configuration and its defaults.
#include "host/host_config.h"

#include "platform/platform.h"

namespace lumivortex {

namespace {

void noFunctionBox(const char* text) {
    platform::messageBox(platform::BoxOwner::HostWindow, text, "Process running",
                         platform::BoxIcon::Error);
}

// Eleven lines: the English and the Russian note on how to leave.
constexpr const char* defaultHelpText =
    "\n"
    "Exit - key Esc\n"
    "\n"
    "Other controls look at the left-down corner after Run.\n"
    "\n"
    "\n"
    "Выход - клавиша Esc\n"
    "\n"
    "Прочие управления смотрите в левом-нижнем углу   \n"
    "после Запуска.\n"
    " ";
constexpr const char* defaultHelpCaption = "    Lumivortex";
constexpr std::uint32_t black = 0xff000000u;

}  // namespace

void defaultProcess() { noFunctionBox("No process defined"); }
void defaultRedraw() { noFunctionBox("No Redraw function defined"); }

namespace {
constexpr HostConfig defaultHostConfig{1, "Pixcore", defaultProcess, defaultRedraw};
}

HostConfig hostConfig = defaultHostConfig;

int screenSaverMode = 1;
int frameWidth = 240;
int frameHeight = 180;
int fullScreen = 0;
const char* helpText = defaultHelpText;
const char* helpCaption = defaultHelpCaption;
int threadPriority = 0;
std::uint32_t backgroundColour = black;
std::uint32_t clearColour = black;
int previewMode = 0;
std::uintptr_t previewParent = 0;

void resetHostConfig() {
    hostConfig = defaultHostConfig;
    screenSaverMode = 1;
    frameWidth = 240;
    frameHeight = 180;
    fullScreen = 0;
    helpText = defaultHelpText;
    helpCaption = defaultHelpCaption;
    threadPriority = 0;
    backgroundColour = black;
    clearColour = black;
    previewMode = 0;
    previewParent = 0;
}

}  // namespace lumivortex
