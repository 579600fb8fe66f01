#pragma once

namespace fixtally {

// The count-range dialog as texts and handlers.
class OutputRange {};

} // namespace fixtally
