// The application's registration with the host: program initialisation
// (before hostMain) builds the scene objects and fills the host
// configuration; the host's worker then runs sceneProcess.
#pragma once

namespace lumivortex {

// Program initialisation: constructs the scene objects, then sceneConfigure.
void initialiseProgram();

// Hidden cursor, title "Lumivortex", black colours, a full-screen frame,
// renderFrame as redraw and sceneProcess as the process.
void sceneConfigure();

// The worker's whole run: overlays, set-up and frame loop, overlay deletion.
void sceneProcess();

}  // namespace lumivortex
