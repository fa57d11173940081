#pragma once
// MAKO_LIFETIMEBOUND marks an accessor whose returned reference points into the object it
// is called on, so that clang reports (-Wdangling, an error in every build) a reference or
// range-for taken from an accessor of a temporary, which would outlive the temporary:
//   const std::vector<Edge>& GetEdges() const MAKO_LIFETIMEBOUND { return m_Edges; }
// Other compilers ignore it.
#if defined(__clang__)
#define MAKO_LIFETIMEBOUND [[clang::lifetimebound]]
#else
#define MAKO_LIFETIMEBOUND
#endif
