#pragma once

#include <cstddef>
#include <new>
#include <sys/mman.h>
#include <utility>

// Memory for a block that will be filled whole, with all its pages in place from
// the start: one call maps them instead of a fault for each page as it is first written.
class PopulatedBlock {
public:
    explicit PopulatedBlock(std::size_t size)
        : size_(size), data_(::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0))
    {
        if (data_ == MAP_FAILED) throw std::bad_alloc();
    }
    ~PopulatedBlock()
    {
        if (data_) ::munmap(data_, size_);
    }
    PopulatedBlock(PopulatedBlock&& other) noexcept
        : size_(other.size_), data_(std::exchange(other.data_, nullptr))
    {
    }
    PopulatedBlock& operator=(PopulatedBlock&&) = delete;
    PopulatedBlock(const PopulatedBlock&) = delete;
    PopulatedBlock& operator=(const PopulatedBlock&) = delete;

    template <typename T> T* as() const { return static_cast<T*>(data_); }

private:
    std::size_t size_;
    void* data_;
};
