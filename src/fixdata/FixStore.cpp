#include "fixdata/FixStore.h"

namespace fixtally {

void FixStore::Append(const FixRecord& record) {
    exists_ = true;
    if (position_ + FixRecordSize > bytes_.size()) bytes_.resize(position_ + FixRecordSize);
    EncodeFixRecord(record, bytes_.data() + position_);
    position_ += FixRecordSize;
}

bool FixStore::ReadNext(FixRecord& record) {
    if (position_ + FixRecordSize > bytes_.size()) return false;
    record = DecodeFixRecord(bytes_.data() + position_);
    position_ += FixRecordSize;
    return true;
}

} // namespace fixtally
