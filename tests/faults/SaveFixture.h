#pragma once
// The player cards and the configuration of one game in a temporary home, saved and loaded
// through the game's own functions, for the tests of saves that fail or are cut short.
#include "core/Config.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/PlayerManager.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LuaFixture.h"

#include <filesystem>
#include <memory>
#include <string>

namespace bbtest {

class SaveFixture : public LuaFixture
{
protected:
    SaveFixture()
    {
        PrepareEngine();
        m_Folder = m_Home.Path() + "/cards/";
        m_ConfigPath = m_Home.Path() + "/bumperlux.cfg";
        LoadPlayerScripts(m_Folder);
        m_Records = std::make_unique<GameRecordManager>(State());
        m_Players = std::make_unique<PlayerManager>(State());
        m_IO = std::make_unique<GameDataIO>(m_Folder);
        m_Config = std::make_unique<Config>(State());
    }
    ~SaveFixture() override
    {
        m_Config.reset();
        m_IO.reset();
        m_Players.reset();
        m_Records.reset();
    }

    // What is wrong with the files ("" when nothing): each card and the configuration must
    // exist, hold something and load through the game's loader, which sets a broken file
    // aside.
    std::string CheckFiles()
    {
        namespace fs = std::filesystem;
        std::string problems;
        for (int slot = 1; slot <= 4; ++slot) {
            const std::string path = m_IO->GetCardPath(slot);
            std::error_code ec;
            if (!fs::exists(path, ec) || fs::file_size(path, ec) == 0) {
                problems += path + " is missing or empty\n";
                continue;
            }
            Run("Card__, Error__ = ReadPlayerCard('" + path + "')");
            if (!Global("Card__").IsTable())
                problems += path + " does not load: " + GlobalString("Error__") + "\n";
        }
        std::error_code ec;
        if (!fs::exists(m_ConfigPath, ec) || fs::file_size(m_ConfigPath, ec) == 0)
            problems += m_ConfigPath + " is missing or empty\n";
        else if (m_Config->ReadFile(m_ConfigPath) != 0)
            problems += m_ConfigPath + " does not load\n";
        return problems;
    }

    TempHome m_Home;
    std::string m_Folder;
    std::string m_ConfigPath;
    std::unique_ptr<GameRecordManager> m_Records;
    std::unique_ptr<PlayerManager> m_Players;
    std::unique_ptr<GameDataIO> m_IO;
    std::unique_ptr<Config> m_Config;
};

} // namespace bbtest
