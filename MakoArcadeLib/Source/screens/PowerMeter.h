#pragma once
// PowerMeter: the row of eight letter tiles B R E A K O U T that the player lights by
// catching letter power-ups. Tile n (1..8) shows "<n><letter>.On.png" when lit and
// "<n><letter>.Off.png" when dark. The meter only records and shows which letters are
// lit; the game logic decides what lights them and what a full row earns. The letter
// actors belong to whoever placed them (they live in the scene); the meter only sets
// their images. Main thread only.
#include <array>

class Actor;

class PowerMeter
{
public:
    static constexpr int kLetters = 8;

    // The eight tile actors in position order (none may be null); all start dark.
    explicit PowerMeter(const std::array<Actor*, kLetters>& tiles);

    // The position (0..7) of an upper-case meter letter; any other character raises.
    static int CharToIdx(char letter);
    // The letter at a position 0..7; any other position raises.
    static char IdxToChar(int index);
    // The image a tile shows: for example "1B.On.png" or "8T.Off.png".
    static const char* ImageName(int index, bool lit);

    // Lights or darkens the tile of the letter; raises for a character not on the meter.
    void SetLetter(char letter, bool lit);
    // Darkens all eight tiles.
    void Reset();
    bool IsLit(char letter) const { return m_Lit[CharToIdx(letter)]; }
    bool AllLettersLit() const;
    Actor* GetTile(int index) const { return IdxToChar(index) ? m_Tiles[index] : nullptr; }

private:
    std::array<bool, kLetters> m_Lit{};
    std::array<Actor*, kLetters> m_Tiles{};
};
