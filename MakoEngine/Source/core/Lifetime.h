#pragma once
// MAKO_LIFETIMEBOUND marks an accessor whose result (a reference, a pointer or a view)
// points into the object it is called on, so that clang reports (-Wdangling, an error in
// every build) a reference, pointer or range-for taken from an accessor of a temporary,
// which would outlive the temporary:
//   const std::vector<Edge>& GetEdges() const MAKO_LIFETIMEBOUND { return m_Edges; }
// An accessor defined outside its class carries the mark on its definition too, so that
// calls after the definition in the same file are seen. Every C++ file of the build sees
// this header (the build includes it first), so a header needs no include of its own to
// use the mark. Other compilers ignore it.
#if defined(__clang__)
#define MAKO_LIFETIMEBOUND [[clang::lifetimebound]]
#else
#define MAKO_LIFETIMEBOUND
#endif
