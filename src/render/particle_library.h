// Start-up and release of the particle library's rendering side: the lookup
// tables, the default sprite and the render target.
#pragma once

namespace lumivortex {

// Called once before any sprite or particle system is configured: starts
// from a clean library (every particle system deleted, then system 0
// selected), builds the sphere and offset-scale tables, defines sprite 0 as
// a single pixel of colour 0xFF7FC8FF and creates the render target.
void initialiseParticleLibrary();
// Releases the render target, the lookup tables (the coverage tables are
// built again on next need), every particle system and the draw list.
// Sprites and their images stay for the life of the process.
void releaseParticleLibrary();

}  // namespace lumivortex
