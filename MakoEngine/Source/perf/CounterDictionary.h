#pragma once
// Named counters of one kind, created on first use and kept until Clear. Each gets an id
// in creation order; GetNames and ForEach go in that order, which is the column order of
// the performance logs. References to counters stay valid until Clear.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CounterDictionaryBase
{
public:
    virtual ~CounterDictionaryBase() = default;
    // Every name, in creation order.
    virtual void GetNames(std::vector<std::string>& names) const = 0;
    // Forgets every counter; ids start at 1 again.
    virtual void Clear() = 0;
};

template <class T> class CounterDictionary : public CounterDictionaryBase
{
public:
    CounterDictionary() : m_Entries(100), m_NextId(1) {}

    // The counter of name, made (zeroed) when missing.
    T& Get(const std::string& name) MAKO_LIFETIMEBOUND
    {
        auto found = m_Entries.find(name);
        if (found != m_Entries.end())
            return found->second.counter;
        auto made = m_Entries.emplace(name, Entry{m_NextId++, T()}).first;
        m_InOrder.push_back(&*made);
        return made->second.counter;
    }

    // The counter of name, or null; never makes one.
    T* Find(const std::string& name) MAKO_LIFETIMEBOUND
    {
        auto found = m_Entries.find(name);
        return found == m_Entries.end() ? nullptr : &found->second.counter;
    }

    size_t Size() const { return m_InOrder.size(); }

    // Calls f(name, counter) for every counter in creation order.
    template <class F> void ForEach(F f)
    {
        for (auto* entry : m_InOrder)
            f(entry->first, entry->second.counter);
    }

    void GetNames(std::vector<std::string>& names) const override
    {
        names.clear();
        for (const auto* entry : m_InOrder)
            names.push_back(entry->first);
    }

    void Clear() override
    {
        m_InOrder.clear();
        m_Entries.clear();
        m_NextId = 1;
    }

private:
    struct Entry
    {
        uint32_t id;
        T counter;
    };
    using Map = std::unordered_map<std::string, Entry>;

    Map m_Entries;
    std::vector<typename Map::value_type*> m_InOrder; // map nodes never move
    uint32_t m_NextId;
};
