#pragma once

#include "audit_run.h"
#include "base/colour_value.h"

#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace pigmora {

class FindingsModel;

// "Seite prüfen": asks for a file or URL, audits it in a thread of its own (progress and
// "Abbrechen"; the window stays usable), lists the findings worst first, shows the crop of the
// selected one, and "Als Paar übernehmen" hands its text colour and the background of its
// lowest contrast to `applyPair`.
class frmSeitenpruefung : public QWidget {
    Q_OBJECT
public:
    using ApplyPair = std::function<void(Rgb text, Rgb background)>;
    using ChooseFile = std::function<QString()>;
    // `sessions` makes the browser session of each audit (the default: Debian's chromium).
    frmSeitenpruefung(QWidget* owner, ApplyPair applyPair, ChooseFile chooseFile,
                      AuditRun::SessionFactory sessions = {});
    ~frmSeitenpruefung() override;

    // Shows the window beside its owner, or raises it.
    void open();
    void cmdPruefen_Click();
    void cmdAbbrechen_Click();
    void cmdPaar_Click();
    bool running() const { return bool(run_); }
    const FindingsModel& findings() const { return *model_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showSelected();
    void runEnded();
    void setRunning(bool running);

    ApplyPair applyPair_;
    ChooseFile chooseFile_;
    AuditRun::SessionFactory sessions_;
    std::unique_ptr<AuditRun> run_;
    FindingsModel* model_;
    QLineEdit* txtQuelle_;
    QPushButton* cmdDatei_;
    QPushButton* cmdPruefen_;
    QComboBox* cmbSchema_;
    QComboBox* cmbStufe_;
    QProgressBar* prgFortschritt_;
    QLabel* lblStand_;
    QPushButton* cmdAbbrechen_;
    QTreeView* lstBefunde_;
    QLabel* imgAusschnitt_;
    QPushButton* cmdPaar_;
};

} // namespace pigmora
