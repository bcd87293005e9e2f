#pragma once

#include "audit_types.h"

#include <QString>
#include <functional>

// The seam between the audit and the browser: what the audit asks of a rendered page.
namespace pigmora {

// A page to audit: what the user named and the address the browser loads.
struct PageSource {
    QString shown; // the file or URL as given (for a folder: the file in it)
    QString url;   // file:///..., http://...
    // What may load besides: a local page's folder (file:///dir/), a URL's origin.
    QString allowedPrefix;
};

struct RenderSettings {
    PageScheme scheme = PageScheme::Light;
    std::optional<VisionDeficiency> vision;
    int width = 1280;
    bool allowNetwork = false;
    int timeoutSeconds = 30;
};

// What the page holds once loaded, its scripts run and its fonts ready.
struct PageLayout {
    int width = 0; // the page's size in device pixels
    int height = 0;
    int viewportWidth = 0; // a capture lies within one cell of this size (the session scrolls)
    int viewportHeight = 0;
    std::vector<PageText> texts;
    SkipCounts skipped; // what the browser's side left out already
};

// Everything an audit asks of the page; throws AuditError when the browser fails or the page's
// time is up.
class PageSession {
public:
    virtual ~PageSession() = default;
    // Loads the page; the time for the page starts here.
    virtual PageLayout load(const PageSource& source, const RenderSettings& settings) = 0;

    enum class Rendering { AsIs, WithoutText };
    // The pixels of `area`, which lies within one viewport cell ([k·w, (k+1)·w) × [m·h,
    // (m+1)·h)); texts made transparent (their shadows kept) for WithoutText. Fixed elements are
    // drawn where the first cell shows them and nowhere else.
    virtual PixelImage capture(const PixelRect& area, Rendering rendering) = 0;
    // The colours as the page shows them through its colour-vision emulation (the identity
    // without one).
    virtual std::vector<Rgb> seenColours(const std::vector<Rgb>& colours) = 0;
    // Requests refused on the way, since load().
    virtual int refusedRequests() const = 0;
};

// How far an audit is and whether it is to stop: the window's progress bar and "Abbrechen",
// the command's SIGINT and SIGTERM.
class AuditProgress {
public:
    virtual ~AuditProgress() = default;
    virtual void step(const QString& what, int done, int total) {
        (void)what, (void)done, (void)total;
    }
    virtual bool stopRequested() const { return false; }
};

} // namespace pigmora
