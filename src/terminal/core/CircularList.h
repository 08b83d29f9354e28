#pragma once

#include <algorithm>
#include <memory>
#include <vector>

namespace orva {

// A ring of fixed capacity holding objects by reference (owned pointers).
// Logical element i lives in slot (startIndex + i) mod maxLength; the slot is
// found with one comparison, without a division.
template <typename T>
class CircularList {
public:
    explicit CircularList(int maxLength)
        : m_array(static_cast<std::size_t>(std::max(maxLength, 1))), m_maxLength(std::max(maxLength, 1))
    {
    }

    int count() const { return m_count; }
    int maxLength() const { return m_maxLength; }
    int startIndex() const { return m_startIndex; }
    bool isFull() const { return m_count >= m_maxLength; }

    // Element i, or nullptr when i is outside 0 ..< count.
    T* operator[](int i) const
    {
        if (i < 0 || i >= m_count)
            return nullptr;
        return m_array[slot(i)].get();
    }
    T* at(int i) const { return (*this)[i]; }

    // Stores into element i's slot; ignored outside 0 ..< count.
    void set(int i, std::unique_ptr<T> item)
    {
        if (i < 0 || i >= m_count)
            return;
        m_array[slot(i)] = std::move(item);
    }

    // Appends; when full the oldest element is overwritten and handed back so
    // the caller may reuse it.
    std::unique_ptr<T> push(std::unique_ptr<T> item)
    {
        if (m_count >= m_maxLength) {
            std::unique_ptr<T> evicted = std::move(m_array[static_cast<std::size_t>(m_startIndex)]);
            m_array[static_cast<std::size_t>(m_startIndex)] = std::move(item);
            if (++m_startIndex == m_maxLength)
                m_startIndex = 0;
            return evicted;
        }
        m_array[slot(m_count)] = std::move(item);
        ++m_count;
        return nullptr;
    }

    // Removes deleteCount elements at start, then inserts each item at start in
    // turn (several items therefore end up in reverse order). Nothing happens
    // when start is outside 0 ... count.
    void splice(int start, int deleteCount, std::vector<std::unique_ptr<T>> items = {})
    {
        if (start < 0 || start > m_count)
            return;
        const int d = std::clamp(deleteCount, 0, m_count - start);
        if (d > 0) {
            for (int i = start; i + d < m_count; ++i)
                std::swap(m_array[slot(i)], m_array[slot(i + d)]);
            for (int i = m_count - d; i < m_count; ++i)
                m_array[slot(i)].reset();
            m_count -= d;
        }
        for (auto& item : items) {
            if (m_count > start) {
                const bool wasFull = m_count >= m_maxLength;
                if (!wasFull)
                    ++m_count;
                // The last element falls off when the ring was full.
                m_array[slot(m_count - 1)].reset();
                for (int i = m_count - 1; i > start; --i)
                    std::swap(m_array[slot(i)], m_array[slot(i - 1)]);
                m_array[slot(start)] = std::move(item);
            } else {
                push(std::move(item));
            }
        }
    }

    // Element `first` moves to `last`; those between move down by one.
    void rotateDown(int first, int last)
    {
        if (first < 0 || last >= m_count || first >= last)
            return;
        for (int i = first; i < last; ++i)
            std::swap(m_array[slot(i)], m_array[slot(i + 1)]);
    }

    // Element `last` moves to `first`; those between move up by one.
    void rotateUp(int first, int last)
    {
        if (first < 0 || last >= m_count || first >= last)
            return;
        for (int i = last; i > first; --i)
            std::swap(m_array[slot(i)], m_array[slot(i - 1)]);
    }

    // Empties every slot.
    void clear()
    {
        for (auto& item : m_array)
            item.reset();
        m_startIndex = 0;
        m_count = 0;
    }

    // Raises the capacity, keeping the elements in order; never lowers it.
    void growMaxLength(int maxLength)
    {
        if (maxLength <= m_maxLength)
            return;
        std::vector<std::unique_ptr<T>> array(static_cast<std::size_t>(maxLength));
        for (int i = 0; i < m_count; ++i)
            array[static_cast<std::size_t>(i)] = std::move(m_array[slot(i)]);
        m_array = std::move(array);
        m_maxLength = maxLength;
        m_startIndex = 0;
    }

private:
    std::size_t slot(int i) const
    {
        int s = m_startIndex + i;
        if (s >= m_maxLength)
            s -= m_maxLength;
        return static_cast<std::size_t>(s);
    }

    std::vector<std::unique_ptr<T>> m_array;
    int m_startIndex = 0;
    int m_count = 0;
    int m_maxLength;
};

} // namespace orva
