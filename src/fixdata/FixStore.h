#pragma once

#include "fixdata/FixRecord.h"

#include <cstddef>
#include <vector>

namespace fixtally {

// The in-memory byte stream of FixRecord blocks in log order. Readers Replace and
// Append; consumers read by index or decode the bytes themselves.
class FixStore {
public:
    // Discards any previous contents and starts an empty store.
    void Replace() {
        bytes_.clear();
        exists_ = true;
    }
    // Makes the store empty (an aborted read leaves an existing, empty store).
    void Clear() { Replace(); }
    bool Exists() const { return exists_; }

    void Append(const FixRecord& record);
    // Room for this many records, as a hint: when the memory cannot be had, the store
    // grows as records come.
    void Reserve(std::size_t records);

    std::size_t Size() const { return bytes_.size(); }
    std::size_t Count() const { return bytes_.size() / FixRecordSize; }

    // Direct access for sequential passes that decode records themselves.
    FixRecord At(std::size_t index) const {
        return DecodeFixRecord(bytes_.data() + index * FixRecordSize);
    }
    const std::byte* Data() const { return bytes_.data(); }

private:
    std::vector<std::byte> bytes_;
    bool exists_ = false;
};

} // namespace fixtally
