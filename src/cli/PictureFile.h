#pragma once

class QImage;

#include <string>

namespace fixtally {

// How writing a picture of fixtally-cli ended.
enum class PictureOutcome {
    Written,
    Exists,      // the file is there and --yes was not given: left alone
    IsTheLog,    // the path names the log being read: never written over
    WriteFailed, // could not be written; an old file stays as it was
};

// Writes image as PNG through the writer every output uses (a temporary file beside path,
// renamed over it when complete), so that a failure leaves nothing half-written; reason
// (when given) gets the system's text of a failed write.
[[nodiscard]] PictureOutcome WritePicture(const QImage& image, const std::string& path,
                                          const std::string& logPath, bool overwrite,
                                          std::string* reason = nullptr);

// Starts the offscreen Qt application that text and charts need, once.
void EnsureGuiApplication();

} // namespace fixtally
