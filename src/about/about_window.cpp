#include "about_window.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVersionNumber>

namespace pigmora {

frmAbout::frmAbout(QWidget* owner, SysInfoParts parts)
    : QDialog(owner)
    , sysInfo_(std::move(parts)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Pigmora"));
    // Fixed dialog frame: a close button, no minimise or maximise, not resizable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(aboutClientWidth, aboutClientHeight);
    setAttribute(Qt::WA_DeleteOnClose);

    ui_ = buildAboutLayout(this);
    connect(ui_.cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(ui_.cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
    ui_.cmdOK->setFocus();
}

void frmAbout::Form_Load() {
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(QStringLiteral("Info zu ") + title);
    const QVersionNumber version =
        QVersionNumber::fromString(QCoreApplication::applicationVersion());
    ui_.lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                                .arg(version.majorVersion())
                                .arg(version.minorVersion())
                                .arg(version.microVersion()));
    ui_.lblTitle->setText(title);
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    sysInfo_.StartSysInfo(this);
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // "OK" is the cancel button as well: Esc clicks it.
    if (event->matches(QKeySequence::Cancel)) {
        ui_.cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace pigmora
