#pragma once
// A fixture for tests that start the game over a card: each Start is a new start of the game
// with the card text in slot 1 of a private home, read by the game's loader, and the screens
// that show cards ready to be shown.
#include "GameApp.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace bbtest {

class CardAppTest : public ::testing::Test
{
protected:
    void TearDown() override { app.reset(); }

    void Start(const std::string& card)
    {
        app.reset();
        app = std::make_unique<GameApp>();
        app->LoadCard(home.Path() + "/cards/", card);
    }

    Screen* Show(const std::string& name) { return app->Show(name); }

    TempHome home;
    std::unique_ptr<GameApp> app;
};

} // namespace bbtest
