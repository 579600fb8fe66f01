#pragma once

#include <QImage>

#include <string>

namespace fixtally {

// How writing a picture of fixtally-cli ended.
enum class PictureOutcome {
    Written,
    Exists,      // the file is there and --yes was not given: left alone
    IsTheLog,    // the path names the log being read: never written over
    WriteFailed, // could not be written; an old file stays as it was
};

// Writes image as PNG to a temporary file beside path and renames it over path when
// complete, so that a failure leaves nothing half-written.
[[nodiscard]] PictureOutcome WritePicture(const QImage& image, const std::string& path,
                                          const std::string& logPath, bool overwrite);

// Starts the offscreen Qt application that text and charts need, once.
void EnsureGuiApplication();

} // namespace fixtally
