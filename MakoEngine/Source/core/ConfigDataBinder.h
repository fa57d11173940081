#pragma once
// Ties one value widget to one configuration key of the current configuration
// (Config::GetCurrent): the widget reads its start value through GetValue, and every
// MAKO_VALUECHANGE the widget sends for a value the player chose (VALUECHANGE_CHOSEN) stores
// its value under the key, which in turn signals the key's observers; a value the widget
// only shows (held to its range, say) leaves the key as it is. The binder observes its key
// while it lives.
#include "core/DataBinder.h"
#include "lua/Variant.h"

#include <string>

class ConfigDataBinder : public DataBinder
{
public:
    // Attaches itself as observer of key; there must be a current configuration.
    explicit ConfigDataBinder(const std::string& key);
    ~ConfigDataBinder() override;

    const std::string& GetKey() const MAKO_LIFETIMEBOUND { return m_Key; }
    // The key's value (Config::Retrieve): nil when missing.
    Variant GetValue() const;

protected:
    // data1 names the widget (an Object that is a ValueWidget); the value the player chose
    // is stored under the key as a double. Consumed. An event without such a widget is not
    // consumed.
    bool OnValueChange(const Event& event) override;

private:
    std::string m_Key;
};
