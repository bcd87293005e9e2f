#include "raster_window.h"

#include "accessibility/accessible_shape.h"
#include "base/german_locale.h"
#include "base/hex_digit.h"
#include "base/path_glob.h"
#include "base/sample_pair.h"
#include "contrast/wcag.h"
#include "contrast_window/sample_follower.h"
#include "contrast_window/sample_size.h"
#include "editor/channel_editor.h"
#include "exchange/css_palette.h"
#include "exchange/grid_export.h"
#include "exchange/scheme_export.h"
#include "ramp_dialog.h"
#include "raster_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace pigmora {

namespace {

// The table: Enter on the current cell chooses it as a click does.
class RasterTable : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void(const QModelIndex&)> onChoose;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            currentIndex().isValid() && onChoose) {
            onChoose(currentIndex());
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

const QList<std::pair<frmRaster::Source, QString>>& sourceNames() {
    static const QList<std::pair<frmRaster::Source, QString>> names{
        {frmRaster::Source::SchemeTexts, QStringLiteral("Textfarben der Farbschemata")},
        {frmRaster::Source::SchemeBackgrounds, QStringLiteral("Hintergründe der Farbschemata")},
        {frmRaster::Source::SchemeColours, QStringLiteral("Alle Farben der Farbschemata")},
        {frmRaster::Source::Palette, QStringLiteral("Palette")},
        {frmRaster::Source::SchemesAndPalette, QStringLiteral("Farbschemata und Palette")},
        {frmRaster::Source::Ramp, QStringLiteral("Farbreihe")}};
    return names;
}

constexpr GridLevel minimumLevels[] = {GridLevel::NonText, GridLevel::AA, GridLevel::AAA};

QLabel* caption(QWidget* owner, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, owner);
    label->setBuddy(buddy);
    QString name = text;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    buddy->setAccessibleName(name);
    // Its text is the control's name. A combo box is the exception: to AT-SPI its name is the
    // entry shown, and the label, the box's "labelled by", names it.
    if (!qobject_cast<QComboBox*>(buddy))
        setAccessibleHidden(label, true);
    return label;
}

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QComboBox* combo(QWidget* owner, const char* name, const QStringList& items) {
    auto* box = named(new QComboBox(owner), name);
    box->addItems(items);
    return box;
}

QPushButton* button(QWidget* owner, const char* name, const QString& text) {
    return named(new QPushButton(text, owner), name);
}

} // namespace

struct frmRaster::Controls {
    QComboBox* cboZeilen;
    QComboBox* cboSpalten;
    QLineEdit* txtZeilenMuster;
    QLineEdit* txtSpaltenMuster;
    QPushButton* cmdAlleGegenAlle;
    QPushButton* cmdPaletteÖffnen;
    QLabel* lblPalette;
    QCheckBox* chkNurBestandene;
    QCheckBox* chkAusblenden;
    QComboBox* cboStufe;
    QComboBox* cboReihenfolge;
    QComboBox* cboFarbsehen;
    QCheckBox* chkApca;
    RasterTable* tblRaster;
    QLabel* lblAuswahl;
    QPushButton* cmdSpeichern;
    QPushButton* cmdFarbreihe;
    QPushButton* cmdExportieren;
    QPushButton* cmdSchließen;
};

frmRaster::frmRaster(QWidget* owner, ChannelEditor& channels, QWidget* sample, RasterHost& host)
    : QWidget(owner, Qt::Window)
    , channels_(channels)
    , sampleLabel_(sample)
    , host_(host)
    , ui_(std::make_unique<Controls>())
    , model_(new RasterModel(this))
    , delegate_(new RasterDelegate(this))
    , follower_(new SampleFollower(channels.pair(), sample, this, [this] { refresh(); })) {
    setObjectName(QStringLiteral("frmRaster"));
    setWindowTitle(QStringLiteral("Kontrastraster"));
    setAccessibleName(windowTitle());
    setAccessibleRole(this, QAccessible::Window);
    buildLayout();
    connectControls();
    resize(960, 640);
}

frmRaster::~frmRaster() {
    // The controls go first, while what their handlers use is still there.
    ramp_.reset();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void frmRaster::buildLayout() {
    Controls& u = *ui_;
    QStringList sources;
    for (const auto& [source, name] : sourceNames())
        sources << name;
    u.cboZeilen = combo(this, "cboZeilen", sources);
    u.cboSpalten = combo(this, "cboSpalten", sources);
    u.cboSpalten->setCurrentIndex(int(Source::SchemeBackgrounds));
    const auto pattern = [this](const char* name) {
        auto* edit = named(new QLineEdit(this), name);
        edit->setPlaceholderText(QStringLiteral("alle; etwa fgColor.*"));
        edit->setClearButtonEnabled(true);
        return edit;
    };
    u.txtZeilenMuster = pattern("txtZeilenMuster");
    u.txtSpaltenMuster = pattern("txtSpaltenMuster");
    u.cmdAlleGegenAlle = button(this, "cmdAlleGegenAlle", QStringLiteral("Alle gegen alle"));
    u.cmdPaletteÖffnen = button(this, "cmdPaletteÖffnen", QStringLiteral("Palette öffnen..."));
    u.lblPalette = named(new QLabel(QStringLiteral("Keine Palette geöffnet."), this), "lblPalette");
    u.lblPalette->setTextFormat(Qt::PlainText);
    u.chkNurBestandene =
        named(new QCheckBox(QStringLiteral("nur bestandene"), this), "chkNurBestandene");
    u.chkAusblenden =
        named(new QCheckBox(QStringLiteral("leere Zeilen und Spalten ausblenden"), this),
              "chkAusblenden");
    u.chkAusblenden->setEnabled(false);
    u.cboStufe =
        combo(this, "cboStufe",
              {QStringLiteral("1.4.11 (3:1)"), QStringLiteral("AA"), QStringLiteral("AAA")});
    u.cboStufe->setCurrentIndex(1);
    u.cboReihenfolge =
        combo(this, "cboReihenfolge",
              {QStringLiteral("wie in der Quelle"), QStringLiteral("nach Helligkeit")});
    QStringList visions{QStringLiteral("Normales Farbsehen")};
    for (VisionDeficiency d : allVisionDeficiencies)
        visions << deficiencyName(d);
    u.cboFarbsehen = combo(this, "cboFarbsehen", visions);
    u.chkApca = named(new QCheckBox(QStringLiteral("APCA Lc zeigen"), this), "chkApca");

    u.tblRaster = named(new RasterTable(this), "tblRaster");
    u.tblRaster->setAccessibleName(QStringLiteral("Kontrastraster"));
    u.tblRaster->setHorizontalHeader(new RasterHeader(Qt::Horizontal, u.tblRaster));
    u.tblRaster->setVerticalHeader(new RasterHeader(Qt::Vertical, u.tblRaster));
    u.tblRaster->setModel(model_);
    u.tblRaster->setItemDelegate(delegate_);
    u.tblRaster->setSelectionMode(QAbstractItemView::SingleSelection);
    u.tblRaster->setSelectionBehavior(QAbstractItemView::SelectItems);
    u.tblRaster->setEditTriggers(QAbstractItemView::NoEditTriggers);
    u.tblRaster->setTabKeyNavigation(false);
    u.tblRaster->setWordWrap(false);
    u.tblRaster->setCornerButtonEnabled(false);
    u.tblRaster->verticalHeader()->setFixedWidth(220);
    u.tblRaster->horizontalHeader()->setFixedHeight(2 * fontMetrics().height() + 10);

    u.lblAuswahl = named(new QLabel(this), "lblAuswahl");
    u.lblAuswahl->setTextFormat(Qt::PlainText);
    u.lblAuswahl->setWordWrap(true);
    u.cmdSpeichern = button(this, "cmdSpeichern", QStringLiteral("Als Farbschema speichern"));
    u.cmdFarbreihe = button(this, "cmdFarbreihe", QStringLiteral("Farbreihe..."));
    u.cmdExportieren = button(this, "cmdExportieren", QStringLiteral("Exportieren..."));
    u.cmdSchließen = button(this, "cmdSchließen", QStringLiteral("Schließen"));

    auto* sourcesRow = new QGridLayout;
    sourcesRow->addWidget(caption(this, QStringLiteral("&Zeilen (Textfarben):"), u.cboZeilen), 0,
                          0);
    sourcesRow->addWidget(u.cboZeilen, 0, 1);
    sourcesRow->addWidget(caption(this, QStringLiteral("Zeilen&muster:"), u.txtZeilenMuster), 0, 2);
    sourcesRow->addWidget(u.txtZeilenMuster, 0, 3);
    sourcesRow->addWidget(u.cmdAlleGegenAlle, 0, 4);
    sourcesRow->addWidget(caption(this, QStringLiteral("S&palten (Hintergründe):"), u.cboSpalten),
                          1, 0);
    sourcesRow->addWidget(u.cboSpalten, 1, 1);
    sourcesRow->addWidget(caption(this, QStringLiteral("Spaltenmus&ter:"), u.txtSpaltenMuster), 1,
                          2);
    sourcesRow->addWidget(u.txtSpaltenMuster, 1, 3);
    sourcesRow->addWidget(u.cmdPaletteÖffnen, 1, 4);
    sourcesRow->addWidget(u.lblPalette, 1, 5);
    sourcesRow->setColumnStretch(3, 1);
    sourcesRow->setColumnStretch(5, 2);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(u.chkNurBestandene);
    filterRow->addWidget(caption(this, QStringLiteral("Mindest&stufe:"), u.cboStufe));
    filterRow->addWidget(u.cboStufe);
    filterRow->addWidget(u.chkAusblenden);
    filterRow->addStretch(1);
    auto* viewRow = new QHBoxLayout;
    viewRow->addWidget(caption(this, QStringLiteral("&Reihenfolge:"), u.cboReihenfolge));
    viewRow->addWidget(u.cboReihenfolge);
    viewRow->addWidget(caption(this, QStringLiteral("&Farbsehen:"), u.cboFarbsehen));
    viewRow->addWidget(u.cboFarbsehen);
    viewRow->addWidget(u.chkApca);
    viewRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(u.cmdSpeichern);
    buttons->addWidget(u.cmdFarbreihe);
    buttons->addWidget(u.cmdExportieren);
    buttons->addStretch(1);
    buttons->addWidget(u.cmdSchließen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourcesRow);
    layout->addLayout(filterRow);
    layout->addLayout(viewRow);
    layout->addWidget(u.tblRaster, 1);
    layout->addWidget(u.lblAuswahl);
    layout->addLayout(buttons);
}

void frmRaster::connectControls() {
    Controls& u = *ui_;
    const auto onChange = [this](QComboBox* box, void (frmRaster::*handler)()) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, handler] {
            if (made_)
                (this->*handler)();
        });
    };
    onChange(u.cboZeilen, &frmRaster::rebuild);
    onChange(u.cboSpalten, &frmRaster::rebuild);
    for (QLineEdit* edit : {u.txtZeilenMuster, u.txtSpaltenMuster})
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (made_)
                rebuild();
        });
    onChange(u.cboStufe, &frmRaster::updateView);
    onChange(u.cboReihenfolge, &frmRaster::updateView);
    onChange(u.cboFarbsehen, &frmRaster::rerate);
    for (QCheckBox* box : {u.chkNurBestandene, u.chkAusblenden, u.chkApca})
        connect(box, &QCheckBox::toggled, this, [this] {
            ui_->chkAusblenden->setEnabled(ui_->chkNurBestandene->isChecked());
            if (made_)
                updateView();
        });
    connect(u.cmdAlleGegenAlle, &QPushButton::clicked, this,
            [this] { setSources(Source::SchemesAndPalette, Source::SchemesAndPalette); });
    connect(u.cmdPaletteÖffnen, &QPushButton::clicked, this, [this] {
        const QStringList files = host_.choosePaletteFiles(this);
        if (!files.isEmpty())
            openPaletteFiles(files);
    });
    u.tblRaster->onChoose = [this](const QModelIndex& cell) { choose(cell); };
    connect(u.tblRaster, &QTableView::clicked, this,
            [this](const QModelIndex& cell) { choose(cell); });
    connect(u.tblRaster->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { currentChanged(); });
    connect(u.cmdSpeichern, &QPushButton::clicked, this, [this] { storeCurrent(); });
    connect(u.cmdFarbreihe, &QPushButton::clicked, this, [this] { openRamp(); });
    connect(u.cmdExportieren, &QPushButton::clicked, this, [this] { exportGrid(); });
    connect(u.cmdSchließen, &QPushButton::clicked, this, &QWidget::close);
}

void frmRaster::open() {
    show();
    raise();
    activateWindow();
    ui_->tblRaster->setFocus();
}

const GridView& frmRaster::view() const {
    return model_->view();
}

frmRaster::SampleReading frmRaster::readSample() const {
    const SamplePair& pair = channels_.pair();
    SampleReading r;
    r.font = sampleLabel_->font();
    r.large = isLargeText(fontPoints(r.font, sampleLabel_->logicalDpiY()), fontIsBold(r.font));
    r.background = pair.background();
    r.edited = pair.edited();
    return r;
}

GridRating frmRaster::rating() const {
    GridRating r;
    r.largeText = sample_.large;
    const int vision = ui_->cboFarbsehen->currentIndex();
    if (vision > 0)
        r.vision = allVisionDeficiencies[std::size_t(vision - 1)];
    return r;
}

std::vector<GridColour> frmRaster::coloursOf(Source source, bool rows) const {
    const QStringList patterns = (rows ? ui_->txtZeilenMuster : ui_->txtSpaltenMuster)
                                     ->text()
                                     .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<GridColour> all = sourceColours(source);
    if (patterns.isEmpty())
        return all;
    std::vector<GridColour> chosen;
    for (GridColour& c : all)
        if (std::any_of(patterns.begin(), patterns.end(),
                        [&c](const QString& p) { return globMatches(p, c.name); }))
            chosen.push_back(std::move(c));
    return chosen;
}

std::vector<GridColour> frmRaster::sourceColours(Source source) const {
    switch (source) {
    case Source::SchemeTexts:
        return schemeGridColours(schemes_, SchemeColours::Text);
    case Source::SchemeBackgrounds:
        return schemeGridColours(schemes_, SchemeColours::Background);
    case Source::SchemeColours:
        return schemeGridColours(schemes_, SchemeColours::Both);
    case Source::Palette:
        return palette_;
    case Source::SchemesAndPalette: {
        std::vector<GridColour> all = schemeGridColours(schemes_, SchemeColours::Both);
        all.insert(all.end(), palette_.begin(), palette_.end());
        return all;
    }
    case Source::Ramp:
        break;
    }
    return rampColours_;
}

void frmRaster::refresh() {
    const SampleReading before = sample_;
    sample_ = readSample();
    delegate_->setSampleFont(sample_.font);
    if (!made_) {
        made_ = true;
        schemes_ = host_.storedSchemes();
        rebuild();
    } else if (before.large != sample_.large) {
        rerate(); // other thresholds
    } else if (before.font != sample_.font) {
        updateView(); // other cells
    }                 // the sample's colours alone change nothing here
}

void frmRaster::reloadSchemes() {
    schemes_ = host_.storedSchemes();
    if (made_)
        rebuild();
}

void frmRaster::setSources(Source rows, Source columns) {
    const bool wasMade = made_;
    made_ = false; // one rebuild for both
    ui_->cboZeilen->setCurrentIndex(int(rows));
    ui_->cboSpalten->setCurrentIndex(int(columns));
    made_ = wasMade;
    if (made_)
        rebuild();
}

void frmRaster::rebuild() {
    std::vector<GridColour> rows = coloursOf(Source(ui_->cboZeilen->currentIndex()), true);
    std::vector<GridColour> columns = coloursOf(Source(ui_->cboSpalten->currentIndex()), false);
    tooLarge_ = gridSizeProblem(rows.size(), columns.size());
    grid_ = ContrastGrid(std::move(rows), std::move(columns), rating()); // empty when too large
    updateView();
}

void frmRaster::rerate() {
    grid_.rate(rating());
    updateView();
}

void frmRaster::updateView() {
    const Controls& u = *ui_;
    // The pair shown now, to be current again if it is still shown.
    std::optional<std::pair<int, int>> current;
    if (const QModelIndex c = u.tblRaster->currentIndex();
        c.isValid() && model_->grid() == &grid_ && c.row() < model_->rowCount() &&
        c.column() < model_->columnCount())
        current = std::pair{model_->gridRow(c.row()), model_->gridColumn(c.column())};
    GridFilter filter;
    const bool onlyPassing = u.chkNurBestandene->isChecked();
    if (onlyPassing)
        filter.minimumRatio =
            gridLevelRatio(minimumLevels[u.cboStufe->currentIndex()], grid_.rating().largeText);
    filter.hideEmpty = onlyPassing && u.chkAusblenden->isChecked();
    filter.byLightness = u.cboReihenfolge->currentIndex() == 1;
    const bool apca = u.chkApca->isChecked();
    model_->show(&grid_, makeGridView(grid_, filter), onlyPassing, apca);
    const QSize cell = delegate_->cellSize(u.tblRaster->font(), apca);
    u.tblRaster->horizontalHeader()->setDefaultSectionSize(cell.width());
    u.tblRaster->verticalHeader()->setDefaultSectionSize(cell.height());
    if (current)
        if (const QModelIndex again = model_->cellOf(current->first, current->second);
            again.isValid())
            u.tblRaster->setCurrentIndex(again);
    currentChanged();
}

void frmRaster::currentChanged() {
    const QModelIndex c = ui_->tblRaster->currentIndex();
    QString text;
    if (c.isValid())
        text = model_->data(c, Qt::AccessibleTextRole).toString();
    else if (!tooLarge_.isEmpty())
        text = tooLarge_;
    else if (grid_.rowCount() == 0 || grid_.columnCount() == 0)
        text = schemes_.empty() && palette_.empty()
                   ? QStringLiteral("Das Raster ist leer: Es gibt keine gespeicherten "
                                    "Farbschemata. Öffnen Sie eine Palette.")
                   : QStringLiteral("Das Raster ist leer: Die gewählten Quellen haben keine "
                                    "Farben.");
    else
        text = QStringLiteral("%1 Textfarben auf %2 Hintergründen.")
                   .arg(germanNumber(qint64(model_->view().rows.size())),
                        germanNumber(qint64(model_->view().columns.size())));
    ui_->lblAuswahl->setText(text);
    ui_->lblAuswahl->setAccessibleName(text);
    ui_->cmdSpeichern->setEnabled(c.isValid());
}

void frmRaster::choose(const QModelIndex& cell) {
    if (!cell.isValid())
        return;
    ui_->tblRaster->setCurrentIndex(cell);
    host_.setPair(grid_.rows()[std::size_t(model_->gridRow(cell.row()))].colour,
                  grid_.columns()[std::size_t(model_->gridColumn(cell.column()))].colour);
}

void frmRaster::storeCurrent() {
    const QModelIndex cell = ui_->tblRaster->currentIndex();
    if (!cell.isValid())
        return;
    const Rgb text = grid_.rows()[std::size_t(model_->gridRow(cell.row()))].colour;
    const Rgb background = grid_.columns()[std::size_t(model_->gridColumn(cell.column()))].colour;
    if (host_.storeScheme(this, text, background))
        reloadSchemes();
}

void frmRaster::openPaletteFiles(const QStringList& paths) {
    qint64 skipped = 0;
    const PaletteReading reading = readPaletteFilesWithCss(paths, &skipped);
    if (!reading.error.isEmpty()) {
        host_.tell(this, reading.error);
        return;
    }
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    showPalette(reading, names.join(QStringLiteral(", ")), skipped, ui_->txtZeilenMuster->text(),
                ui_->txtSpaltenMuster->text());
}

void frmRaster::showPalette(const PaletteReading& reading, const QString& origin, qint64 skipped,
                            const QString& rows, const QString& columns) {
    palette_.clear();
    for (const Palette& p : reading.palettes)
        for (const PaletteEntry& e : p.entries) {
            QString description = e.description;
            if (e.deprecated)
                description += (description.isEmpty() ? QString() : QStringLiteral(" ")) +
                               QStringLiteral("(veraltet)");
            palette_.push_back({e.path, e.colour, description});
        }
    QString caption =
        QStringLiteral("Palette: %1 aus %2")
            .arg(palette_.size() == 1
                     ? QStringLiteral("1 Farbe")
                     : QStringLiteral("%1 Farben").arg(germanNumber(qint64(palette_.size()))),
                 origin);
    if (!reading.refused.empty())
        caption +=
            QStringLiteral("; %1 abgelehnt").arg(germanNumber(qint64(reading.refused.size())));
    if (skipped > 0)
        caption += QStringLiteral("; %1 ohne Farbe übersprungen").arg(germanNumber(skipped));
    ui_->lblPalette->setText(caption + QLatin1Char('.'));
    ui_->lblPalette->setAccessibleName(ui_->lblPalette->text());
    QStringList details;
    for (const RefusedEntry& r : reading.refused)
        details << QStringLiteral("%1 „%2“: %3").arg(r.where, r.what, r.reason);
    ui_->lblPalette->setToolTip(details.mid(0, 20).join(QLatin1Char('\n')));
    {
        // One grid, made once, for the patterns and the sources together.
        const QSignalBlocker blockRows(ui_->txtZeilenMuster);
        const QSignalBlocker blockColumns(ui_->txtSpaltenMuster);
        ui_->txtZeilenMuster->setText(rows);
        ui_->txtSpaltenMuster->setText(columns);
    }
    setSources(Source::Palette, Source::Palette);
}

void frmRaster::showRamps(const std::vector<ColourRamp>& ramps) {
    rampColours_.clear();
    for (const ColourRamp& ramp : ramps)
        for (const RampStep& step : ramp.steps)
            if (step.reached)
                rampColours_.push_back(
                    {rampSchemeName(ramp.measure, step.target,
                                    ramps.size() > 1 ? std::optional(ramp.background)
                                                     : std::nullopt),
                     *step.colour,
                     {}});
    for (const ColourRamp& ramp : ramps)
        rampColours_.push_back({QStringLiteral("Hintergrund %1").arg(hashHexText(ramp.background)),
                                ramp.background,
                                {}});
    setSources(Source::Ramp, Source::Ramp);
}

void frmRaster::exportGrid() {
    const QStringList filters{QStringLiteral("HTML (*.html)"), QStringLiteral("CSV (*.csv)"),
                              QStringLiteral("JSON (*.json)")};
    const auto choice =
        host_.chooseSaveFile(this, QStringLiteral("Kontrastraster exportieren"), filters);
    if (!choice)
        return;
    const GridFormat byFilter =
        choice->filter == filters[1]
            ? GridFormat::Csv
            : (choice->filter == filters[2] ? GridFormat::Json : GridFormat::Html);
    std::optional<GridFormat> format = gridFormatFromFileName(choice->path);
    if (!format ||
        (*format != GridFormat::Html && *format != GridFormat::Csv && *format != GridFormat::Json))
        format = byFilter;
    GridExportOptions options;
    options.apca = ui_->chkApca->isChecked();
    options.fontFamily = sample_.font.family();
    options.points = fontPoints(sample_.font, sampleLabel_->logicalDpiY());
    options.bold = fontIsBold(sample_.font);
    if (const auto failed =
            writeExportFile(choice->path, gridExport(grid_, model_->view(), *format, options)))
        host_.tell(this, *failed);
}

void frmRaster::openRamp() {
    if (!ramp_) {
        ramp_ = std::make_unique<frmFarbreihe>(this, host_);
        ramp_->onShowInGrid = [this](const std::vector<ColourRamp>& ramps) { showRamps(ramps); };
    }
    const QModelIndex cell = ui_->tblRaster->currentIndex();
    const Rgb background =
        cell.isValid() ? grid_.columns()[std::size_t(model_->gridColumn(cell.column()))].colour
                       : sample_.background;
    ramp_->start(sample_.edited, background);
}

void frmRaster::showEvent(QShowEvent* event) {
    follower_->refreshIfStale();
    QWidget::showEvent(event);
}

void frmRaster::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace pigmora
