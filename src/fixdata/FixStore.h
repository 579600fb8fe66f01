#pragma once

#include "fixdata/FixRecord.h"

#include <cstddef>
#include <vector>

namespace fixtally {

// The in-memory byte stream of FixRecord blocks in log order, with a current
// position. Consumers Rewind and read sequentially; readers Replace and Append.
class FixStore {
public:
    // Discards any previous contents and starts an empty store at position 0.
    void Replace() {
        bytes_.clear();
        position_ = 0;
        exists_ = true;
    }
    // Makes the store empty (an aborted read leaves an existing, empty store).
    void Clear() { Replace(); }
    bool Exists() const { return exists_; }

    void Append(const FixRecord& record);
    void Rewind() { position_ = 0; }
    // Reads the record at the position and advances; false at the end.
    bool ReadNext(FixRecord& record);
    void StepBack() {
        if (position_ >= FixRecordSize) position_ -= FixRecordSize;
    }
    // Room for this many records, as a hint: when the memory cannot be had, the store
    // grows as records come.
    void Reserve(std::size_t records);

    std::size_t Size() const { return bytes_.size(); }
    std::size_t Position() const { return position_; }
    std::size_t Count() const { return bytes_.size() / FixRecordSize; }

    // Direct access for sequential passes that decode records themselves.
    FixRecord At(std::size_t index) const {
        return DecodeFixRecord(bytes_.data() + index * FixRecordSize);
    }
    const std::byte* Data() const { return bytes_.data(); }

private:
    std::vector<std::byte> bytes_;
    std::size_t position_ = 0;
    bool exists_ = false;
};

} // namespace fixtally
