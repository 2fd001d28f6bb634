// Every global here is constant-initialised (plain values and string
// literals), so an application may register from a static initialiser.
//
// What an application registers with the host before hostMain runs: the
// HostConfig record and the host settings next to it. The application writes
// them during program initialisation; hostMain and the worker only read them.
// The frame size and colours are shared with the frame buffer, which the
// worker may resize later (half resolution), so the window thread never reads
// them after the window exists.
#pragma once

#include <cstdint>

namespace lumivortex {

struct HostConfig {
    int showCursor;                   // passed to showCursor once the window is shown
    const char* title;                // window class name and window title (UTF-8)
    void (*process)();                // the whole application; run by the worker
    void (*redraw)();                 // per-frame render; reached through runRedraw
};

extern HostConfig hostConfig;

// Defaults of `process` and `redraw`: a box saying that nothing is registered.
void defaultProcess();
void defaultRedraw();

extern int screenSaverMode;           // nonzero: hostMain parses the screen-saver arguments
extern int frameWidth;                // frame buffer size, also the normal window's size
extern int frameHeight;
extern int fullScreen;                // popup window style; set by setFrameSize
extern const char* helpText;          // the help box (UTF-8)
extern const char* helpCaption;
extern int threadPriority;            // 0 leave, 1 highest, 2 time critical
extern std::uint32_t backgroundColour;  // fills the viewport every frame
extern std::uint32_t clearColour;       // fills the whole buffer after a viewport change
extern int previewMode;               // set by parseScreenSaverArgs
extern std::uintptr_t previewParent;  // the screen-saver host's preview window

// Puts the record and every setting back to its default (tests).
void resetHostConfig();

}  // namespace lumivortex
