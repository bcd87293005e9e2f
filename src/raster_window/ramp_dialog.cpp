#include "ramp_dialog.h"

#include "accessibility/accessible_shape.h"
#include "base/hex_digit.h"
#include "css_colour/css_colour.h"
#include "exchange/ramp_export.h"
#include "raster_host.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pigmora {

namespace {

template <typename W> W* named(W* widget, const char* name, const QString& accessibleName = {}) {
    widget->setObjectName(QString::fromUtf8(name));
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

QTableWidgetItem* item(const QString& text) {
    auto* i = new QTableWidgetItem(text);
    i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return i;
}

} // namespace

QStringList colourTexts(const QString& text) {
    QStringList out;
    QString current;
    int depth = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        if (depth == 0 && (c.isSpace() || c == QLatin1Char(',') || c == QLatin1Char(';'))) {
            if (!current.isEmpty())
                out << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        out << current;
    return out;
}

frmFarbreihe::frmFarbreihe(QWidget* owner, RasterHost& host)
    : QDialog(owner)
    , host_(host) {
    setObjectName(QStringLiteral("frmFarbreihe"));
    setWindowTitle(QStringLiteral("Farbreihe"));
    txtSchlüssel = named(new QLineEdit(this), "txtSchlüssel", QStringLiteral("Schlüsselfarbe"));
    txtHintergründe = named(new QLineEdit(this), "txtHintergründe", QStringLiteral("Hintergründe"));
    cboMaß = named(new QComboBox(this), "cboMaß", QStringLiteral("Maß"));
    cboMaß->addItems({QStringLiteral("Kontrastverhältnis (WCAG 2)"), QStringLiteral("APCA Lc")});
    txtZiele = named(new QLineEdit(QStringLiteral("1,5 2 3 4,5 7 10"), this), "txtZiele",
                     QStringLiteral("Ziele"));
    cmdBerechnen = named(new QPushButton(QStringLiteral("&Berechnen"), this), "cmdBerechnen");
    lblMeldung = named(new QLabel(this), "lblMeldung");
    lblMeldung->setTextFormat(Qt::PlainText);
    lblMeldung->setWordWrap(true);
    tblFarbreihe = named(new QTableWidget(0, 5, this), "tblFarbreihe", QStringLiteral("Farbreihe"));
    tblFarbreihe->setHorizontalHeaderLabels({QStringLiteral("Hintergrund"), QStringLiteral("Ziel"),
                                             QStringLiteral("Farbe"), QStringLiteral("Kontrast"),
                                             QStringLiteral("Ergebnis")});
    tblFarbreihe->verticalHeader()->hide();
    tblFarbreihe->horizontalHeader()->setStretchLastSection(true);
    tblFarbreihe->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cmdInsRaster = named(new QPushButton(QStringLiteral("&In das Raster"), this), "cmdInsRaster");
    cmdSpeichern =
        named(new QPushButton(QStringLiteral("Als Farbschemata &speichern"), this), "cmdSpeichern");
    cmdExportieren =
        named(new QPushButton(QStringLiteral("&Exportieren..."), this), "cmdExportieren");
    cmdSchließen = named(new QPushButton(QStringLiteral("Schließen"), this), "cmdSchließen");

    auto* form = new QFormLayout;
    const auto row = [this, form](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        setAccessibleHidden(label, true);
        form->addRow(label, field);
    };
    row(QStringLiteral("Schlüssel&farbe:"), txtSchlüssel);
    row(QStringLiteral("&Hintergründe:"), txtHintergründe);
    row(QStringLiteral("&Maß:"), cboMaß);
    row(QStringLiteral("&Ziele:"), txtZiele);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdInsRaster, cmdSpeichern, cmdExportieren})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdSchließen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cmdBerechnen, 0, Qt::AlignLeft);
    layout->addWidget(lblMeldung);
    layout->addWidget(tblFarbreihe, 1);
    layout->addLayout(buttons);
    resize(620, 460);

    connect(cmdBerechnen, &QPushButton::clicked, this, [this] { make(); });
    connect(txtZiele, &QLineEdit::returnPressed, this, [this] { make(); });
    connect(cboMaß, &QComboBox::activated, this, [this](int index) {
        txtZiele->setText(index == 0 ? QStringLiteral("1,5 2 3 4,5 7 10")
                                     : QStringLiteral("15 30 45 60 75 90"));
        make();
    });
    connect(cmdInsRaster, &QPushButton::clicked, this, [this] {
        if (make() && onShowInGrid)
            onShowInGrid(ramps_);
    });
    connect(cmdSpeichern, &QPushButton::clicked, this, [this] { store(); });
    connect(cmdExportieren, &QPushButton::clicked, this, [this] { exportRamps(); });
    connect(cmdSchließen, &QPushButton::clicked, this, &QDialog::close);
}

frmFarbreihe::~frmFarbreihe() = default;

void frmFarbreihe::start(Rgb key, Rgb background) {
    txtSchlüssel->setText(hashHexText(key));
    txtHintergründe->setText(hashHexText(background));
    make();
    show();
    raise();
    activateWindow();
}

bool frmFarbreihe::make() {
    const auto refuse = [this](const QString& message) {
        lblMeldung->setText(message);
        lblMeldung->setAccessibleName(message);
        return false;
    };
    const auto opaque = [](const QString& text, const QString& role,
                           QString& problem) -> std::optional<Rgb> {
        const CssColourReading reading = readCssColour(text);
        if (!reading.colour)
            problem = QStringLiteral("%1: %2").arg(role, reading.error);
        else if (reading.alpha < 1)
            problem = QStringLiteral("%1: %2").arg(role, notOpaqueText(text, reading.alpha));
        else
            return reading.colour;
        return std::nullopt;
    };
    QString problem;
    const auto key =
        opaque(txtSchlüssel->text().trimmed(), QStringLiteral("Schlüsselfarbe"), problem);
    if (!key)
        return refuse(problem);
    const QStringList backgroundTexts = colourTexts(txtHintergründe->text());
    if (backgroundTexts.isEmpty())
        return refuse(QStringLiteral("Es fehlt der Hintergrund."));
    std::vector<Rgb> backgrounds;
    for (const QString& text : backgroundTexts) {
        const auto background = opaque(text, QStringLiteral("Hintergrund"), problem);
        if (!background)
            return refuse(problem);
        backgrounds.push_back(*background);
    }
    const RampMeasure measure = cboMaß->currentIndex() == 0 ? RampMeasure::Wcag : RampMeasure::Apca;
    const RampTargetsReading targets = readRampTargets(txtZiele->text(), measure);
    if (!targets.problem.isEmpty())
        return refuse(QStringLiteral("Ziele: ") + targets.problem);
    ramps_.clear();
    for (const Rgb background : backgrounds)
        ramps_.push_back(makeColourRamp(*key, background, measure, targets.targets));
    showRamps();
    return true;
}

void frmFarbreihe::showRamps() {
    int rows = 0, missed = 0;
    for (const ColourRamp& ramp : ramps_)
        rows += int(ramp.steps.size());
    tblFarbreihe->setRowCount(rows);
    int row = 0;
    for (const ColourRamp& ramp : ramps_)
        for (const RampStep& step : ramp.steps) {
            auto* background = item(hashHexText(ramp.background));
            background->setBackground(
                QColor(ramp.background.red, ramp.background.green, ramp.background.blue));
            if (step.colour)
                background->setForeground(
                    QColor(step.colour->red, step.colour->green, step.colour->blue));
            tblFarbreihe->setItem(row, 0, background);
            tblFarbreihe->setItem(row, 1, item(rampTargetText(ramp.measure, step.target)));
            tblFarbreihe->setItem(
                row, 2, item(step.colour ? hashHexText(*step.colour) : QStringLiteral("–")));
            tblFarbreihe->setItem(row, 3,
                                  item(step.colour ? rampContrastText(ramp.measure, step.contrast)
                                                   : QStringLiteral("–")));
            tblFarbreihe->setItem(row, 4,
                                  item(step.reached ? QStringLiteral("erreicht")
                                                    : QStringLiteral("nicht erreichbar")));
            missed += !step.reached;
            ++row;
        }
    const QString message =
        missed == 0 ? QStringLiteral("Jedes Ziel ist erreicht.")
                    : QStringLiteral("%1 erreicht keine Farbe dieses Farbtons; die anderen sind "
                                     "gemacht.")
                          .arg(missed == 1 ? QStringLiteral("Ein Ziel")
                                           : QStringLiteral("%1 Ziele").arg(missed));
    lblMeldung->setText(message);
    lblMeldung->setAccessibleName(message);
}

void frmFarbreihe::store() {
    if (!make())
        return;
    const std::vector<ColourScheme> schemes = rampSchemes(ramps_);
    const int stored = host_.storeSchemes(this, schemes);
    const QString message =
        QStringLiteral("%1 von %2 Farbschemata gespeichert.").arg(stored).arg(schemes.size());
    lblMeldung->setText(message);
    lblMeldung->setAccessibleName(message);
}

void frmFarbreihe::exportRamps() {
    if (!make())
        return;
    const QStringList filters{QStringLiteral("Design Tokens (*.tokens.json)"),
                              QStringLiteral("CSS (*.css)"), QStringLiteral("JSON (*.json)")};
    const auto choice =
        host_.chooseSaveFile(this, QStringLiteral("Farbreihe exportieren"), filters);
    if (!choice)
        return;
    const QString lower = choice->path.toLower();
    RampFormat format = choice->filter == filters[1]   ? RampFormat::Css
                        : choice->filter == filters[2] ? RampFormat::Json
                                                       : RampFormat::Tokens;
    if (lower.endsWith(QLatin1String(".tokens.json")))
        format = RampFormat::Tokens;
    else if (lower.endsWith(QLatin1String(".css")))
        format = RampFormat::Css;
    else if (lower.endsWith(QLatin1String(".json")))
        format = RampFormat::Json;
    const QByteArray contents =
        rampExport(ramps_, format,
                   {QStringLiteral("Pigmora %1").arg(QCoreApplication::applicationVersion()),
                    QDateTime::currentDateTime()});
    if (const auto failed = writeExportFile(choice->path, contents))
        host_.tell(this, *failed);
}

} // namespace pigmora
