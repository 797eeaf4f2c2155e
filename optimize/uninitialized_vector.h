#pragma once

#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// An allocator whose value-initialisation leaves trivial elements as they are: resizing a vector
// of it to millions of elements neither writes them nor touches their memory, so that the threads
// that fill its parts later each take the first touch of their own pages.
template<typename T>
class TUninitializedAllocator : public std::allocator<T>
{
public:
    using value_type = T;
    template<typename U>
    struct rebind
    {
        using other = TUninitializedAllocator<U>;
    };

    TUninitializedAllocator() = default;
    template<typename U>
    TUninitializedAllocator(const TUninitializedAllocator<U> &) noexcept
    { }

    template<typename U>
    void construct(U *p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void *>(p)) U;
    }
    template<typename U, typename... Args>
    void construct(U *p, Args &&...args)
    {
        std::construct_at(p, std::forward<Args>(args)...);
    }
};

// A vector of numbers that resize() leaves unwritten.
template<typename T>
using TUninitializedVector = std::vector<T, TUninitializedAllocator<T>>;
