// The play-field tests' view of the game: its scripts' tables, the pack's sounds, and the
// record of what was played.
#include "support/engine/FieldWorld.h"

#include "lua/MakoLuaState.h"
#include "sound/Sound.h"

#include <gtest/gtest.h>

TEST(GameResources, TheGameScriptsRunAndPlayedSoundsAreRecordedWithTheirPan)
{
    bbtest::OpenGameResources();
    ASSERT_TRUE(Sound::IsActive());
    EXPECT_TRUE(
        GetGlobalLuaState()->GetGlobal("Resources").GetByName("TopScores_IndexLabel").IsTable());

    bbtest::SoundLog sounds;
    Sound::SetPan("Beep01.ogg", -40);
    Sound::PlaySound("Beep01.ogg", false);
    ASSERT_EQ(1u, sounds.Plays().size());
    EXPECT_EQ("Beep01.ogg", sounds.Plays()[0].name);
    EXPECT_EQ(-40, sounds.Plays()[0].pan);
    EXPECT_EQ(1, sounds.Count("Beep01.ogg"));
}
