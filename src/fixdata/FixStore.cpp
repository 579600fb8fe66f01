#include "fixdata/FixStore.h"

#include <new>

namespace fixtally {

void FixStore::Append(const FixRecord& record) {
    exists_ = true;
    if (position_ + FixRecordSize > bytes_.size()) bytes_.resize(position_ + FixRecordSize);
    EncodeFixRecord(record, bytes_.data() + position_);
    position_ += FixRecordSize;
}

void FixStore::Reserve(std::size_t records) {
    if (records > bytes_.max_size() / FixRecordSize) return;
    try {
        bytes_.reserve(records * FixRecordSize);
    } catch (const std::bad_alloc&) {
        // Left to the growth of Append.
    }
}

bool FixStore::ReadNext(FixRecord& record) {
    if (position_ + FixRecordSize > bytes_.size()) return false;
    record = DecodeFixRecord(bytes_.data() + position_);
    position_ += FixRecordSize;
    return true;
}

} // namespace fixtally
