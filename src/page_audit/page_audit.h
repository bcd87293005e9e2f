#pragma once

#include "page_session.h"

class QIODevice;

// One rendering of one page audited: the page loaded, its texts measured on the text-less
// rendering tile by tile, judged, sorted worst first, crops and the framed picture cut from the
// rendering as it is.
namespace pigmora {

struct AuditNeeds {
    WcagLevel level = WcagLevel::AA;
    int cropLimit = 0; // crops for the worst this many findings (0: none)
    // Where the rendering goes as PNG, failing texts framed red, "prüfen" orange (none: null).
    // A failed write ends the audit with an AuditError of kind Source; the caller, who opened
    // the device, tells why.
    QIODevice* image = nullptr;
};

struct PageAuditResult {
    PageSource source;
    RenderSettings settings;
    WcagLevel level = WcagLevel::AA;
    int width = 0;
    int height = 0;
    std::vector<TextFinding> findings; // every judged text, worst first
    SkipCounts skipped;
    int refusedRequests = 0;
    int count(TextVerdict verdict) const;
};

// Runs the audit; throws AuditError (the page, the browser, the time, a stop, an unwritable
// picture).
PageAuditResult auditPage(PageSession& session, const PageSource& source,
                          const RenderSettings& settings, const AuditNeeds& needs,
                          AuditProgress& progress);

// Worst first: failing before "prüfen" before passing, each by how far its ratio falls short
// (failing: the highest, "prüfen": the lowest, against the threshold).
bool worseThan(const TextFinding& a, const TextFinding& b);

// The part of the rendering kept for a finding: its glyph boxes with 8 pixels around, at most
// 480 × 160, inside the page.
PixelRect cropArea(const PixelRect& bounds, int pageWidth, int pageHeight);

// Frames `bounds` in `colour`, two pixels wide just outside it, where it meets the picture.
void drawFrame(PixelImage& picture, const PixelRect& bounds, Rgb colour);

} // namespace pigmora
