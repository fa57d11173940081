#include "screens/PowerMeter.h"

#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "scene/Actor.h"

#include <string>

namespace {

const char kLetterChars[PowerMeter::kLetters + 1] = "BREAKOUT";

// Every tile name, so the names handed out stay valid.
const char* const kImages[PowerMeter::kLetters][2] = {
    {"1B.Off.png", "1B.On.png"}, {"2R.Off.png", "2R.On.png"}, {"3E.Off.png", "3E.On.png"},
    {"4A.Off.png", "4A.On.png"}, {"5K.Off.png", "5K.On.png"}, {"6O.Off.png", "6O.On.png"},
    {"7U.Off.png", "7U.On.png"}, {"8T.Off.png", "8T.On.png"},
};

} // namespace

PowerMeter::PowerMeter(const std::array<Actor*, kLetters>& tiles) : m_Tiles(tiles)
{
    for (Actor* tile : m_Tiles)
        MAKO_ASSERT(tile != nullptr);
    Reset();
}

int PowerMeter::CharToIdx(char letter)
{
    switch (letter) {
    case 'B':
        return 0;
    case 'R':
        return 1;
    case 'E':
        return 2;
    case 'A':
        return 3;
    case 'K':
        return 4;
    case 'O':
        return 5;
    case 'U':
        return 6;
    case 'T':
        return 7;
    default:
        break;
    }
    MAKO_THROW(Exception,
               std::string("'") + letter +
                   "' is not one of the power meter's letters B, R, E, A, K, O, U and T.");
}

char PowerMeter::IdxToChar(int index)
{
    MAKO_ASSERT_MSG(index >= 0 && index < kLetters,
                    "not a position of the meter: " + std::to_string(index));
    return kLetterChars[index];
}

const char* PowerMeter::ImageName(int index, bool lit)
{
    IdxToChar(index);
    return kImages[index][lit ? 1 : 0];
}

void PowerMeter::SetLetter(char letter, bool lit)
{
    const int index = CharToIdx(letter);
    m_Lit[index] = lit;
    // A tile's picture is the pack's: one the pack lacks is named once and the tile shows
    // nothing; the meter counts the letter all the same.
    Actor* tile = m_Tiles[index];
    const char* name = ImageName(index, lit);
    if (!ObjectBoundary::Guard(
            [name] { return std::string("The power meter's tile \"") + name + "\""; },
            "the tile shows nothing", [&] { tile->SetImageFromResource(name); }))
        tile->SetImage(nullptr, name);
}

void PowerMeter::Reset()
{
    for (int i = 0; i < kLetters; ++i)
        SetLetter(IdxToChar(i), false);
}

bool PowerMeter::AllLettersLit() const
{
    for (bool lit : m_Lit)
        if (!lit)
            return false;
    return true;
}
