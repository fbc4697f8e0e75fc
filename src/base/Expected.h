#pragma once

#include <utility>
#include <variant>

namespace tw {

// A value or the error that prevented it, for the core's fallible operations
// (the standard's std::expected is C++23).
template<class T, class E> class Expected
{
public:
    Expected(T value) : m_v(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_v(std::in_place_index<1>, std::move(error)) {}

    bool has_value() const { return m_v.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T &value() { return std::get<0>(m_v); }
    const T &value() const { return std::get<0>(m_v); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }

    const E &error() const { return std::get<1>(m_v); }

private:
    std::variant<T, E> m_v;
};

} // namespace tw
