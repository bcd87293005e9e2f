#pragma once

#include "about_layout.h"
#include "system_info.h"

#include <QDialog>

namespace pigmora {

// The About window: the program's picture, title, version and purpose, a rights notice and a
// web address, "OK" and a button that starts the system-information program. It is destroyed
// when it closes, so each opening builds and loads it anew.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr, SysInfoParts parts = {});

    const AboutControls& controls() const { return ui_; }

    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();

    AboutControls ui_;
    SystemInfo sysInfo_;
};

} // namespace pigmora
