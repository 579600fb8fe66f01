#pragma once

#include "input/LoadResult.h"

#include <string_view>

namespace fixtally {

// Reads a CSV log or RTKLIB solution file at path into store: recognises the header,
// replaces the store and decodes every data line, telling the observer the profile found
// and the progress every 1024 stored fixes. The store is empty when the file cannot be
// opened, its header is not recognised (UnknownLayout), the read was aborted or failed.
[[nodiscard]] LoadResult ReadCsvLog(std::string_view path, const ReadOptions& options,
                                    ReadObserver& observer, FixStore& store);

} // namespace fixtally
