#include "application.h"

#include "channel_slider.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace pigmora {

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationVersion(QStringLiteral(PIGMORA_VERSION));
    ChannelSlider::installAccessibility();

    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/pigmora-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/pigmora-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);

    // The interface is German whatever the system language, so the standard dialogs
    // (buttons, colour and font dialogs) are too, where Qt's translations are installed.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace pigmora
