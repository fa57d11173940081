#pragma once
// The check's playing of the pack's songs.
namespace levelcheck {

// Plays every song of the pack (every music resource the game loads) through the
// synthesiser on the game's performance (with the SoundFont the game loaded), taken out of
// the mix for it, without sound, for a bounded time each,
// under the bounds the game plays it under; a song the bounds hold back (too dense to play
// at its pace) is named in the game's words through DataReport, as the game names it when
// it plays it. What reading a song changes is named as the game loads it. Stops early
// when a stop of the program is asked for.
void CheckSongs();

} // namespace levelcheck
