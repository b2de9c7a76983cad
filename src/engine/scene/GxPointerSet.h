#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

// Pointers without repeats, added, removed and looked up in constant time:
// a library's materials and a library material's users are as many as the
// objects of a town. In the order of adding, except that removing one moves
// the last into its place.
template <class T>
class GxPointerSet {
public:
    // False when it was there already.
    bool insert(T* item)
    {
        if (!m_index.emplace(item, m_items.size()).second)
            return false;
        m_items.push_back(item);
        return true;
    }
    // False when it was not there.
    bool erase(T* item)
    {
        const auto found = m_index.find(item);
        if (found == m_index.end())
            return false;
        const std::size_t at = found->second;
        m_index.erase(found);
        if (at + 1 != m_items.size()) {
            m_items[at] = m_items.back();
            m_index[m_items[at]] = at;
        }
        m_items.pop_back();
        return true;
    }
    bool contains(T* item) const { return m_index.count(item) != 0; }
    void clear()
    {
        m_items.clear();
        m_index.clear();
    }
    const std::vector<T*>& items() const { return m_items; }

private:
    std::vector<T*> m_items;
    std::unordered_map<T*, std::size_t> m_index;
};
