#include "fixdata/FixStore.h"

#include <new>

namespace fixtally {

void FixStore::Append(const FixRecord& record) {
    exists_ = true;
    const std::size_t end = bytes_.size();
    bytes_.resize(end + FixRecordSize);
    EncodeFixRecord(record, bytes_.data() + end);
}

void FixStore::Reserve(std::size_t records) {
    if (records > bytes_.max_size() / FixRecordSize) return;
    try {
        bytes_.reserve(records * FixRecordSize);
    } catch (const std::bad_alloc&) {
        // Left to the growth of Append.
    }
}

} // namespace fixtally
