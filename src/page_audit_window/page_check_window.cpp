#include "page_check_window.h"

#include "accessibility/accessible_shape.h"
#include "findings_model.h"
#include "page_audit/audit_report.h"
#include "page_audit/audit_sources.h"
#include "page_audit/chromium_session.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeView>
#include <QVBoxLayout>

namespace pigmora {

namespace {

std::unique_ptr<PageSession> chromiumSession(std::function<bool()> stop) {
    return std::make_unique<ChromiumSession>(QString(), std::move(stop));
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmSeitenpruefung::frmSeitenpruefung(QWidget* owner, ApplyPair applyPair, ChooseFile chooseFile,
                                     AuditRun::SessionFactory sessions)
    : QWidget(owner, Qt::Window)
    , applyPair_(std::move(applyPair))
    , chooseFile_(std::move(chooseFile))
    , sessions_(sessions ? std::move(sessions) : AuditRun::SessionFactory(chromiumSession))
    , model_(new FindingsModel(this)) {
    setObjectName(QStringLiteral("frmSeitenpruefung"));
    setWindowTitle(QStringLiteral("Seite prüfen"));
    setAccessibleRole(this, QAccessible::Window);

    txtQuelle_ = named(new QLineEdit, "txtQuelle");
    txtQuelle_->setPlaceholderText(
        QStringLiteral("HTML-Datei, Ordner oder http://localhost:8000/"));
    cmdDatei_ = named(new QPushButton(QStringLiteral("&Datei...")), "cmdDatei");
    cmdPruefen_ = named(new QPushButton(QStringLiteral("&Prüfen")), "cmdPruefen");
    cmdPruefen_->setDefault(true);
    cmbSchema_ = named(new QComboBox, "cmbSchema");
    cmbSchema_->addItems(
        {QStringLiteral("hell"), QStringLiteral("dunkel"), QStringLiteral("hell und dunkel")});
    cmbStufe_ = named(new QComboBox, "cmbStufe");
    cmbStufe_->addItems({QStringLiteral("AA (1.4.3)"), QStringLiteral("AAA (1.4.6)")});
    prgFortschritt_ = named(new QProgressBar, "prgFortschritt");
    lblStand_ = named(new QLabel, "lblStand");
    lblStand_->setWordWrap(true);
    cmdAbbrechen_ = named(new QPushButton(QStringLiteral("Abbrechen")), "cmdAbbrechen");
    lstBefunde_ = named(new QTreeView, "lstBefunde");
    lstBefunde_->setModel(model_);
    lstBefunde_->setRootIsDecorated(false);
    lstBefunde_->setUniformRowHeights(true);
    lstBefunde_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstBefunde_->setAccessibleName(QStringLiteral("Befunde"));
    imgAusschnitt_ = named(new QLabel, "imgAusschnitt");
    imgAusschnitt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgAusschnitt_->setAccessibleName(QStringLiteral("Ausschnitt"));
    cmdPaar_ = named(new QPushButton(QStringLiteral("Als Paar übernehmen")), "cmdPaar");

    auto* source = new QHBoxLayout;
    auto* quelle = new QLabel(QStringLiteral("&Quelle:"));
    quelle->setBuddy(txtQuelle_);
    source->addWidget(quelle);
    source->addWidget(txtQuelle_, 1);
    source->addWidget(cmdDatei_);
    auto* options = new QHBoxLayout;
    auto* schema = new QLabel(QStringLiteral("&Farbschema:"));
    schema->setBuddy(cmbSchema_);
    auto* stufe = new QLabel(QStringLiteral("S&tufe:"));
    stufe->setBuddy(cmbStufe_);
    options->addWidget(schema);
    options->addWidget(cmbSchema_);
    options->addWidget(stufe);
    options->addWidget(cmbStufe_);
    options->addStretch(1);
    options->addWidget(cmdPruefen_);
    auto* progress = new QHBoxLayout;
    progress->addWidget(prgFortschritt_, 1);
    progress->addWidget(cmdAbbrechen_, 0);
    auto* crop = new QScrollArea;
    crop->setWidget(imgAusschnitt_);
    crop->setWidgetResizable(true);
    crop->setMinimumHeight(120);
    auto* pair = new QHBoxLayout;
    pair->addStretch(1);
    pair->addWidget(cmdPaar_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(source);
    layout->addLayout(options);
    layout->addLayout(progress);
    layout->addWidget(lblStand_);
    layout->addWidget(lstBefunde_, 3);
    layout->addWidget(crop, 1);
    layout->addLayout(pair);
    resize(900, 620);

    connect(cmdPruefen_, &QPushButton::clicked, this, &frmSeitenpruefung::cmdPruefen_Click);
    connect(txtQuelle_, &QLineEdit::returnPressed, this, &frmSeitenpruefung::cmdPruefen_Click);
    connect(cmdAbbrechen_, &QPushButton::clicked, this, &frmSeitenpruefung::cmdAbbrechen_Click);
    connect(cmdPaar_, &QPushButton::clicked, this, &frmSeitenpruefung::cmdPaar_Click);
    connect(cmdDatei_, &QPushButton::clicked, this, [this] {
        const QString file = chooseFile_ ? chooseFile_() : QString();
        if (!file.isEmpty())
            txtQuelle_->setText(file);
    });
    connect(lstBefunde_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmSeitenpruefung::showSelected);
    setRunning(false);
    lblStand_->setText(
        QStringLiteral("Eine HTML-Datei oder eine Adresse angeben und „Prüfen“ wählen."));
}

frmSeitenpruefung::~frmSeitenpruefung() = default;

void frmSeitenpruefung::open() {
    if (!isVisible() && parentWidget())
        move(parentWidget()->frameGeometry().topRight() + QPoint(8, 0));
    show();
    raise();
    activateWindow();
}

void frmSeitenpruefung::setRunning(bool running) {
    cmdPruefen_->setEnabled(!running);
    cmdAbbrechen_->setEnabled(running);
    txtQuelle_->setReadOnly(running);
    if (!running)
        prgFortschritt_->setValue(0);
    cmdPaar_->setEnabled(!running && model_->finding(lstBefunde_->currentIndex().row()));
}

void frmSeitenpruefung::cmdPruefen_Click() {
    if (run_)
        return;
    const QString given = txtQuelle_->text().trimmed();
    if (given.isEmpty()) {
        lblStand_->setText(
            QStringLiteral("Es fehlt die Quelle: eine HTML-Datei, ein Ordner oder eine URL."));
        return;
    }
    auto found = pageSources({given});
    if (auto* message = std::get_if<QString>(&found)) {
        lblStand_->setText(*message);
        return;
    }
    AuditRun::Request request;
    request.sources = std::get<std::vector<PageSource>>(found);
    if (cmbSchema_->currentIndex() != 1)
        request.schemes.push_back(PageScheme::Light);
    if (cmbSchema_->currentIndex() != 0)
        request.schemes.push_back(PageScheme::Dark);
    request.level = cmbStufe_->currentIndex() == 1 ? WcagLevel::AAA : WcagLevel::AA;
    run_ = std::make_unique<AuditRun>(sessions_, request);
    connect(run_.get(), &AuditRun::progressed, this,
            [this](const QString& what, int done, int total) {
                prgFortschritt_->setRange(0, std::max(total, 1));
                prgFortschritt_->setValue(done);
                lblStand_->setText(what);
            });
    connect(run_.get(), &AuditRun::ended, this, &frmSeitenpruefung::runEnded, Qt::QueuedConnection);
    model_->setResults({});
    imgAusschnitt_->clear();
    setRunning(true);
    lblStand_->setText(QStringLiteral("Der Browser startet ..."));
    run_->start();
}

void frmSeitenpruefung::cmdAbbrechen_Click() {
    if (!run_)
        return;
    run_->stop();
    lblStand_->setText(QStringLiteral("Wird abgebrochen ..."));
}

void frmSeitenpruefung::runEnded() {
    if (!run_)
        return;
    run_->wait();
    const std::unique_ptr<AuditRun> run = std::move(run_);
    QStringList summary;
    for (const PageAuditResult& r : run->results())
        summary << auditSummary(r);
    if (!run->error().isEmpty())
        summary << run->error();
    model_->setResults(std::move(run->results()));
    for (int c = 0; c < FindingsModel::ColumnCount; ++c)
        lstBefunde_->resizeColumnToContents(c);
    lblStand_->setText(summary.join(QLatin1Char('\n')));
    setRunning(false);
    if (model_->rowCount() > 0)
        lstBefunde_->setCurrentIndex(model_->index(0, 0));
}

void frmSeitenpruefung::showSelected() {
    const TextFinding* f = model_->finding(lstBefunde_->currentIndex().row());
    cmdPaar_->setEnabled(f && !run_);
    if (!f || f->crop.empty()) {
        imgAusschnitt_->setText(f ? QStringLiteral("Kein Ausschnitt aufbewahrt.") : QString());
        return;
    }
    const QImage image(f->crop.rgb.data(), f->crop.width, f->crop.height, f->crop.width * 3,
                       QImage::Format_RGB888);
    imgAusschnitt_->setPixmap(QPixmap::fromImage(image.copy()));
}

void frmSeitenpruefung::cmdPaar_Click() {
    const TextFinding* f = model_->finding(lstBefunde_->currentIndex().row());
    if (f && applyPair_)
        applyPair_(f->shownLowest, f->backgroundLowest);
}

void frmSeitenpruefung::closeEvent(QCloseEvent* event) {
    if (run_)
        run_->stop();
    event->accept();
}

} // namespace pigmora
