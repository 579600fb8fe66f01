#pragma once

#include "print/PrintPlacement.h"

#include <QFontMetricsF>
#include <QString>
#include <QStringView>

#include <string_view>

class QPainter;
class QPrinter;

namespace fixtally {

// Writes text on a printer's pages the way a line printer does, from the placement point:
// a line feed starts the next line at the left margin, lower by the height of the line
// just printed plus 2 dots (by the font's height after an empty line); a carriage return
// only ends the current piece of text; a tab advances to the next multiple of eight average
// character widths; a line wider than the printable width is broken after the last
// character that fits. Lines of a new page start at the placement point again. A page is
// begun only when something is printed on it, so text ending in line feeds leaves no
// empty page behind.
class LinePrinter {
public:
    // The painter is active on the printer and carries the font to print with.
    LinePrinter(QPrinter& printer, QPainter& painter, const PrintPlacement& placement);

    void Write(QStringView text);

    // Where the next line starts, in device pixels of the current page; after a line feed
    // that asked for a new page, the placement point's height.
    int NextLineTop() const;
    // True when the next line goes to a page that is not begun yet.
    bool PageBreakPending() const { return pageBreakPending_; }

private:
    void LineFeed();
    void FlushPiece();
    void BeginPendingPage();

    QPrinter& printer_;
    QPainter& painter_;
    PrintPlacement placement_;
    QFontMetricsF metrics_;
    int lineHeight_ = 0;
    double tabWidth_ = 0;
    double maxWidth_ = 0;

    QString piece_;
    double pieceWidth_ = 0; // the sum of the advances of the piece's characters
    double x_ = 0;          // from the left margin
    int y_ = 0;             // top of the current line on the page
    bool lineHasText_ = false;
    bool pageBreakPending_ = false;
};

enum class PrintOutcome {
    Printed,
    NothingToPrint, // an empty text
    Failed,         // the printer could not start the job
};

// Prints the text as one job titled "Fixtally" on an already chosen printer, with the
// printer font's family set to fontFamily (its size stays the printer's default), followed
// by a line break. Does nothing for an empty text.
[[nodiscard]] PrintOutcome PrintText(QPrinter& printer, std::string_view text,
                                     const QString& fontFamily);

// Writes the text with a LinePrinter on the painter's printer, the painter's font family
// set to fontFamily for the text and restored afterwards. Returns where the next line
// would start.
int WriteLines(QPrinter& printer, QPainter& painter, const PrintPlacement& placement,
               std::string_view text, const QString& fontFamily, bool* pageBreakPending);

} // namespace fixtally
