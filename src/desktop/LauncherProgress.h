#pragma once

namespace fixtally {

// Taskbar progress of the desktop: the freedesktop launcher-entry "Update" signal on the
// session bus for application://fixtally.desktop. Without Qt DBus or without a session
// bus it is not available and sends nothing.
class LauncherProgress {
public:
    LauncherProgress();

    bool Available() const { return available_; }

    // progress 0..1 and whether the launcher shows it.
    void Update(double progress, bool visible);

private:
    bool available_ = false;
    double sentProgress_ = -1;
    bool sentVisible_ = false;
};

} // namespace fixtally
