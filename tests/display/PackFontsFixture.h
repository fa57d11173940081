#pragma once
// Tests of fonts over the font files of the game's archive: each test gets a resource manager
// of its own that has scanned the archive, with TrueType text started. A test program run
// without the archive skips.
#include "lua/MakoLuaState.h"
#include "resources/FileReader.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"

#include "support/engine/EngineSetup.h"

#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

class PackFontsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string archive = std::string(BB_BINARY_DIR) + "/bumperlux.fun";
        if (!std::ifstream(archive))
            GTEST_SKIP() << "no asset archive at " << archive;
        bbtest::PrepareEngine();
        if (!TTF_WasInit()) {
            ASSERT_EQ(0, TTF_Init());
        }
        m_Resources.reset(new ResourceManager(GetGlobalLuaState()));
        m_Resources->AddScanner(new PhysFSResourceScanner(archive));
        m_Resources->ScanAll();
    }
    void TearDown() override { m_Resources.reset(); }

    // The bytes of the archive's file resource of that name.
    std::string Bytes(const std::string& name)
    {
        ResourceInfo* info = m_Resources->FindInfo(name);
        const void* data = nullptr;
        std::uint32_t size = 0;
        info->GetReader()->Read(info->Name(), data, size);
        return std::string(static_cast<const char*>(data), size);
    }

    std::unique_ptr<ResourceManager> m_Resources;
};
