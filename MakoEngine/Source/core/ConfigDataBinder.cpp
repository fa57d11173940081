#include "core/ConfigDataBinder.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ValueWidget.h"

namespace {

// The configuration the binders work with: the current one, which in the running game is
// the application's.
Config& BinderConfig()
{
    Config* config = Config::GetCurrent();
    MAKO_ASSERT_MSG(config != 0, "ConfigDataBinder needs a configuration");
    return *config;
}

} // namespace

ConfigDataBinder::ConfigDataBinder(const std::string& key) : m_Key(key)
{
    BinderConfig().AttachObserver(this, m_Key);
}

ConfigDataBinder::~ConfigDataBinder()
{
    Config* config = Config::GetCurrent();
    if (!config)
        return; // the configuration went first: nothing holds this binder any more
    try {
        config->DetachObserver(this, m_Key);
    } catch (const std::exception& e) {
        Log("ConfigDataBinder: could not detach from \"%s\": %s\n", m_Key.c_str(), e.what());
    }
}

Variant ConfigDataBinder::GetValue() const
{
    return BinderConfig().Retrieve(m_Key);
}

bool ConfigDataBinder::OnValueChange(const Event& event)
{
    auto* sender = static_cast<Object*>(EventData1(event));
    auto* widget = dynamic_cast<ValueWidget*>(sender);
    if (!widget)
        return false;
    if (EventCode(event) == VALUECHANGE_CHOSEN)
        BinderConfig().Set(m_Key, Variant(widget->GetValue().ToDouble()));
    return true;
}
