#pragma once
// The script side of the configuration: the tables ConstConfig, Config (a proxy),
// Config_Data, Config_Metadata and Config_GlobalObservers, and the functions that load,
// guard and observe them. Config's constructor runs this text in its state.
#include <string>

// The library text (Lua).
const std::string& GetConfigLibraryText();
