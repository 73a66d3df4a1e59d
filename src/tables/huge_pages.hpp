#pragma once
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace tx {

// Allocates large tables on 2 MB pages where the system allows it: the searches read them at
// random, and with small pages nearly every read would also miss the address translation cache.
template <class T>
struct HugePageAllocator {
    using value_type = T;
    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) {}
    T* allocate(std::size_t n);
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <class U>
    bool operator==(const HugePageAllocator<U>&) const { return true; }
};

void* allocateHugePages(std::size_t bytes);

template <class T>
T* HugePageAllocator<T>::allocate(std::size_t n) {
    return static_cast<T*>(allocateHugePages(n * sizeof(T)));
}

template <class T>
using TableVector = std::vector<T, HugePageAllocator<T>>;

}  // namespace tx
