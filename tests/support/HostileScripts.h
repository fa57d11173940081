#pragma once
// Hostile data scripts the tests share, each made to meet one bound of a data file's budget
// and no other, however busy the machine.

namespace bbtest {

// Memory without end: each instruction makes a string sixteen times the last, from 1 MiB, so
// the third asks for 256 MiB at once and meets the memory bound after about 50 MiB of copying.
// (A string doubled from one byte copies and faults in hundreds of MiB on its way, and on busy
// cores it can meet the processor-time bound first.)
inline constexpr char kGrowsWithoutEnd[] =
    "local s = ('x'):rep(1048576) while true do s = s..s..s..s..s..s..s..s..s..s..s..s..s..s..s..s "
    "end";

} // namespace bbtest
