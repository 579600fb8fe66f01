#include "print/LinePrinter.h"

#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace fixtally {

namespace {

constexpr int TabColumns = 8;
constexpr int LineGap = 2; // dots between two printed lines

} // namespace

LinePrinter::LinePrinter(QPrinter& printer, QPainter& painter, const PrintPlacement& placement)
    : printer_(printer), painter_(painter), placement_(placement),
      metrics_(painter.font(), painter.device()) {
    lineHeight_ = int(std::ceil(metrics_.height()));
    tabWidth_ = TabColumns * metrics_.averageCharWidth();
    maxWidth_ = placement_.Printable.width() - placement_.Origin.x();
    y_ = placement_.Origin.y();
}

int LinePrinter::NextLineTop() const {
    return pageBreakPending_ ? placement_.Origin.y() : y_;
}

void LinePrinter::BeginPendingPage() {
    if (!pageBreakPending_) return;
    pageBreakPending_ = false;
    printer_.newPage();
    y_ = placement_.Origin.y();
}

void LinePrinter::FlushPiece() {
    if (piece_.isEmpty()) return;
    BeginPendingPage();
    painter_.drawText(QPointF(placement_.Origin.x() + x_, y_ + metrics_.ascent()), piece_);
    x_ += metrics_.horizontalAdvance(piece_);
    piece_.clear();
    pieceWidth_ = 0;
    lineHasText_ = true;
}

void LinePrinter::LineFeed() {
    FlushPiece();
    y_ += lineHasText_ ? lineHeight_ + LineGap : lineHeight_;
    x_ = 0;
    lineHasText_ = false;
    // The line's position counts from the top of the page, not from the placement point,
    // so that no line starts in the bottom margin of twice the line height.
    if (y_ > placement_.Printable.height() - 2 * lineHeight_) pageBreakPending_ = true;
}

void LinePrinter::Write(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n') {
            LineFeed();
            continue;
        }
        if (c == u'\r') {
            FlushPiece();
            continue;
        }
        if (c == u'\t') {
            FlushPiece();
            x_ = (std::floor(x_ / tabWidth_ + 1e-9) + 1) * tabWidth_;
            if (x_ > maxWidth_) LineFeed();
            continue;
        }
        // A character with its low surrogate is one unit; neither half is printed alone.
        const qsizetype length =
            (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const QStringView unit = text.mid(i, length);
        const double advance = metrics_.horizontalAdvance(unit.toString());
        // Broken after the last character that fits; a character wider than the whole
        // line is printed on a line of its own rather than never.
        if (x_ + pieceWidth_ + advance > maxWidth_ && (x_ > 0 || !piece_.isEmpty())) {
            LineFeed();
        }
        piece_.append(unit);
        pieceWidth_ += advance;
        i += length - 1;
    }
    FlushPiece();
}

int WriteLines(QPrinter& printer, QPainter& painter, const PrintPlacement& placement,
               std::string_view text, const QString& fontFamily, bool* pageBreakPending) {
    painter.save();
    QFont font = painter.font();
    font.setFamily(fontFamily);
    // As a line printer prints: every character by itself, no ligatures ("fi" stays two
    // letters when the text is copied out of a PDF) and no kerning.
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    LinePrinter lines(printer, painter, placement);
    lines.Write(QString::fromUtf8(text.data(), qsizetype(text.size())));
    lines.Write(u"\r\n");
    painter.restore();
    if (pageBreakPending) *pageBreakPending = lines.PageBreakPending();
    return lines.NextLineTop();
}

PrintOutcome PrintText(QPrinter& printer, std::string_view text, const QString& fontFamily) {
    if (text.empty()) return PrintOutcome::NothingToPrint;
    printer.setDocName(QStringLiteral("Fixtally"));
    QPainter painter;
    if (!painter.begin(&printer)) return PrintOutcome::Failed;
    WriteLines(printer, painter, PlacementOn(printer), text, fontFamily, nullptr);
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace fixtally
