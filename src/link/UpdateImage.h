#pragma once
// The program image of a program update, read in 64-byte blocks.
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/UniqueFd.h"

namespace korvan {

class UpdateImage {
public:
    UpdateImage() = default;
    UpdateImage(const UpdateImage&) = delete;
    UpdateImage& operator=(const UpdateImage&) = delete;

    enum class Block {
        Read,    // the next block is there
        Failed,  // the file could not be read
        Changed, // the file is no longer the one opened (shorter, longer, or written to)
    };

    // Opens the file for reading: 0, or the link code of the failure (cannot open: 215,
    // size unknown, or not a regular file: 216).
    [[nodiscard]] int open(const std::filesystem::path& file);
    void close();
    bool isOpen() const { return fd_.valid(); }

    std::uint64_t size() const { return size_; }
    std::uint64_t bytesRead() const { return bytesRead_; }
    // Number of blocks; a last partial block counts as one.
    std::int64_t blockCount() const;

    // The next block, zero-filled behind the end of the file. Only the bytes the file had when
    // it was opened are read: the block count was taken from them.
    Block readBlock(std::string& block);

private:
    bool unchanged() const;

    UniqueFd fd_;
    std::uint64_t size_ = 0;
    struct timespec modified_ {};
    std::uint64_t bytesRead_ = 0;
};

} // namespace korvan
