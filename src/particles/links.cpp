// Link evaluation. The link topologies and the pair force are not part of
// the library yet: applyLink is the seam through which updateLinks will
// reach them, and until then it applies no force.
#include "particles/links.h"

namespace lumivortex {

void applyLink(ParticleSystem*, std::uint32_t) {}

}  // namespace lumivortex
