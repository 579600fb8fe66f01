#pragma once

#include <QImage>

#include <string>

class QPrinter;
class QWidget;

namespace fixtally {

class Platform;

// The error box when no picture of the window could be had.
inline constexpr const char* NoWindowPictureMessage =
    "\nThe picture of the window could not be taken.";
// The error box when the chosen printer does not start the job.
inline constexpr const char* PrinterFailedMessage = "\nThe printer could not start printing.";

// Shows the printer choice dialog over the window; false when it is cancelled.
bool AskPrinter(QPrinter& printer, QWidget* window);

// Puts the text on the clipboard as Unicode text, replacing what was there (an empty text
// too).
void CopyTextToClipboard(const std::string& text);

// The report on the chosen printer: nothing for an empty text, else the printer choice
// dialog and, unless cancelled, the job "Fixtally" in the window's font family.
void PrintReport(const std::string& report, QPrinter& printer, QWidget* window, Platform& ui);

// The window with its frame as the window system shows it; where nothing can be grabbed
// from the screen (an offscreen or Wayland session), the window's own rendering.
QImage GrabWindowWithFrame(QWidget* window);

enum class CaptureMode { Copy, Print };

// "Copy Form(&C)" and "Print Form(&P)": with the busy cursor and without hints, waits
// 8 x 50 ms handling events so that the menu is gone and the window repainted, puts the
// window's picture on the clipboard and, in print mode, prints it after the printer
// choice as the job "Fixtally_Image".
void CaptureWindow(CaptureMode mode, QWidget* window, QPrinter& printer, Platform& ui);

} // namespace fixtally
