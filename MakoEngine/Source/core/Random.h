#pragma once
// The one random generator behind every random helper of the program: the classic 15-bit
// linear congruential generator (s = s * 214013 + 2531011 modulo 2^32, output bits 16 to
// 30 of s), so every draw lies in 0 .. MAKO_RAND_MAX. The same seed gives the same
// sequence on every platform; the program seeds it once at start-up, tests seed it to
// get repeatable draws. Main thread only.

const int MAKO_RAND_MAX = 0x7FFF;

// Restarts the sequence from seed. Before any call the seed is 1.
void MakoSrand(unsigned int seed);

// The next draw, 0 .. MAKO_RAND_MAX.
int MakoRand();
