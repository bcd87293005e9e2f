#include "application.h"

#include "accessibility/accessible_shape.h"
#include "base/german_locale.h"
#include "channel_slider.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>
#include <csignal>

namespace pigmora {

// Qt reads a picture file of unknown format by offering it to every image format plugin
// installed, loading each plugin with its libraries (SVG, JPEG ...). At the start that cost a
// millisecond and 0.4 MB of memory, for pictures that are all PNG: the program's icon, and the
// icon of the button a menu bar shows when its menus do not fit. The icon is therefore read as
// PNG, and that button's icon is only made when it is drawn (this window's menus always fit).
namespace {

QIcon programIcon() {
    QIcon icon;
    for (const char* file : {":/icons/pigmora-16.png", ":/icons/pigmora-32.png"}) {
        QImageReader reader(QString::fromLatin1(file), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

// A standard icon of a style, made from the style when it is first drawn or measured.
class DeferredStandardIcon : public QIconEngine {
public:
    DeferredStandardIcon(const QStyle* style, QStyle::StandardPixmap which)
        : style_(style)
        , which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }

private:
    const QIcon& icon() {
        if (!made_ && style_)
            icon_ = style_->standardIcon(which_);
        made_ = true;
        return icon_;
    }

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap which_;
    bool made_ = false;
    QIcon icon_;
};

// The application's style, changed only in making the extension buttons' icons when drawn.
class StartupStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new DeferredStandardIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

void setUpApplication(QApplication& app) {
#ifdef SIGXFSZ
    // A file that outgrows the size limit (ulimit -f) fails the write, which the export tells,
    // instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationVersion(QStringLiteral(PIGMORA_VERSION));
    ChannelSlider::installAccessibility();
    installAccessibility();
    QApplication::setWindowIcon(programIcon());
    // The style chosen for the application (platform, -style, QT_STYLE_OVERRIDE), wrapped.
    if (!dynamic_cast<StartupStyle*>(QApplication::style()))
        QApplication::setStyle(
            new StartupStyle(QStyleFactory::create(QApplication::style()->name())));

    // The interface is German whatever the system language, so the standard dialogs
    // (buttons, colour and font dialogs) are too, where Qt's translations are installed.
    auto* translator = new QTranslator(&app);
    if (translator->load(germanLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace pigmora
