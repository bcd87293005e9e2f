#include "import_preview.h"

#include "base/german_locale.h"
#include "base/shown_text.h"
#include "exchange/scheme_import.h"
#include "import_preview_models.h"
#include "pairing_models.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace pigmora {

namespace {

// A read-only table of rows of one height: nothing is measured per row, so a long list costs
// only the rows in view.
QTableView* table(QWidget* owner, const char* name, const QString& accessibleName,
                  QAbstractItemModel* model, const QList<int>& columnWidths) {
    auto* view = new QTableView(owner);
    view->setObjectName(QString::fromUtf8(name));
    view->setAccessibleName(accessibleName);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setTabKeyNavigation(false);
    view->setWordWrap(false);
    view->setShowGrid(false);
    view->setCornerButtonEnabled(false);
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 6);
    QHeaderView* columns = view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    for (int i = 0; i < columnWidths.size(); ++i)
        columns->resizeSection(i, columnWidths[i]);
    return view;
}

QLabel* label(QWidget* owner, const char* name, const QString& text) {
    auto* l = new QLabel(text, owner);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QPushButton* button(QWidget* owner, const char* name, const QString& text) {
    auto* b = new QPushButton(text, owner);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

// A line edit that keeps its Return: it pairs again (or does nothing) instead of importing.
class KeptReturnEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            event->accept();
    }
};

QLineEdit* lineEdit(QWidget* owner, const char* name, const QString& placeholder) {
    auto* edit = new KeptReturnEdit(owner);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setPlaceholderText(placeholder);
    edit->setClearButtonEnabled(true);
    return edit;
}

} // namespace

QString importedSchemesCaption(qint64 count, qint64 approximated) {
    if (count == 0)
        return QStringLiteral("Die Datei enthält kein Farbschema, das hinzugefügt werden kann.");
    QString caption =
        count == 1 ? QStringLiteral("1 Farbschema wird hinzugefügt")
                   : QStringLiteral("%1 Farbschemata werden hinzugefügt").arg(germanNumber(count));
    if (approximated == 1)
        caption += QStringLiteral(" (1 Farbe lag außerhalb von sRGB und wurde angenähert)");
    else if (approximated > 1)
        caption += QStringLiteral(" (%1 Farben lagen außerhalb von sRGB und wurden angenähert)")
                       .arg(germanNumber(approximated));
    return caption + QLatin1Char(':');
}

QString otherTokensCaption(qint64 tokens, qint64 groups) {
    if (tokens == 0 && groups == 0)
        return {};
    const QString tokenText = tokens == 1
                                  ? QStringLiteral("1 weiteres Token")
                                  : QStringLiteral("%1 weitere Tokens").arg(germanNumber(tokens));
    const QString groupText = groups == 1 ? QStringLiteral("1 Gruppe")
                                          : QStringLiteral("%1 Gruppen").arg(germanNumber(groups));
    return QStringLiteral("Übergangen werden %1 und %2 ohne Farbschema.").arg(tokenText, groupText);
}

QString refusedEntriesCaption(qint64 count) {
    if (count == 1)
        return QStringLiteral("1 Eintrag wurde abgelehnt:");
    return QStringLiteral("%1 Einträge wurden abgelehnt:").arg(germanNumber(count));
}

frmImport::frmImport(const ImportReading& reading, QWidget* owner)
    : QDialog(owner)
    , original_(&reading) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Farbschemata importieren"));

    const int ch = fontMetrics().averageCharWidth();
    const int swatchColumn = 16 + 12 * ch; // the decoration and "#rrggbb"
    const bool anySchemes = !reading.schemes.empty();
    const bool anyRefused = !reading.refused.empty();

    auto* layout = new QVBoxLayout(this);
    QLabel* lblSchemata =
        label(this, "lblSchemata",
              importedSchemesCaption(qint64(reading.schemes.size()), reading.approximated));
    QTableView* lstSchemata =
        table(this, "lstSchemata", QStringLiteral("Neue Farbschemata"),
              new ImportedSchemesModel(reading.schemes, this), {32 * ch, swatchColumn});
    lstSchemata->setItemDelegate(new SwatchDelegate(lstSchemata));
    lblSchemata->setBuddy(lstSchemata);
    lstSchemata->setVisible(anySchemes);
    layout->addWidget(lblSchemata);
    layout->addWidget(lstSchemata, 3);

    QLabel* lblAbgelehnt =
        label(this, "lblAbgelehnt", refusedEntriesCaption(qint64(reading.refused.size())));
    QTableView* lstAbgelehnt =
        table(this, "lstAbgelehnt", QStringLiteral("Abgelehnte Einträge"),
              new RefusedEntriesModel(reading.refused, this), {12 * ch, 28 * ch});
    lblAbgelehnt->setBuddy(lstAbgelehnt);
    lblAbgelehnt->setVisible(anyRefused);
    lstAbgelehnt->setVisible(anyRefused);
    layout->addWidget(lblAbgelehnt);
    layout->addWidget(lstAbgelehnt, 2);
    if (!anySchemes || !anyRefused)
        layout->addStretch();
    const QString others = otherTokensCaption(reading.otherTokens, reading.otherGroups);
    if (!others.isEmpty())
        layout->addWidget(label(this, "lblUebergangen", others));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* cmdImportieren = button(this, "cmdImportieren", QStringLiteral("Importieren"));
    QPushButton* cmdAbbrechen = button(this, "cmdAbbrechen", QStringLiteral("Abbrechen"));
    cmdImportieren->setEnabled(anySchemes);
    cmdImportieren->setDefault(anySchemes);
    cmdAbbrechen->setDefault(!anySchemes);
    buttons->addWidget(cmdImportieren);
    buttons->addWidget(cmdAbbrechen);
    layout->addLayout(buttons);
    connect(cmdImportieren, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);

    // Reasons are sentences: with refusals the window is wide enough to show them whole.
    resize((anyRefused ? 130 : 90) * ch, 28 * fontMetrics().height());
}

struct frmImport::PairingControls {
    PaletteTokensModel* tokens = nullptr;
    QSortFilterProxyModel* filter = nullptr;
    PairsModel* pairs = nullptr;
    QSet<QString> stored;
    QLabel* lblRegel = nullptr;
    QLineEdit* txtText = nullptr;
    QLineEdit* txtHintergrund = nullptr;
    QCheckBox* chkGleicheRolle = nullptr;
    std::vector<ResolverModifier> modifiers;
    std::vector<QComboBox*> contexts; // one a modifier
    QLabel* lblTokens = nullptr;
    QLabel* lblSchemata = nullptr;
    QLabel* lblAbgelehnt = nullptr;
    QTableView* lstAbgelehnt = nullptr;
    QLabel* lblUebergangen = nullptr;
    QPushButton* cmdRaster = nullptr;
    QPushButton* cmdImportieren = nullptr;
};

frmImport::frmImport(const ImportReading& reading, PairingStep step, QWidget* owner)
    : QDialog(owner)
    , reading_(reading)
    , step_(std::move(step))
    , ui_(std::make_unique<PairingControls>()) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Farbschemata importieren"));
    for (const ColourScheme& s : step_.stored)
        ui_->stored.insert(PairsModel::storedKey(s));
    if (step_.palette)
        palette_ = step_.palette({});
    ui_->modifiers = palette_.modifiers;
    buildPairingStep();
    showReading();
    resize(150 * fontMetrics().averageCharWidth(), 36 * fontMetrics().height());
}

frmImport::~frmImport() = default;

void frmImport::buildPairingStep() {
    PairingControls& u = *ui_;
    const int ch = fontMetrics().averageCharWidth();
    const int swatchColumn = 16 + 12 * ch;
    auto* layout = new QVBoxLayout(this);
    u.lblRegel = label(this, "lblRegel", {});
    u.lblRegel->setWordWrap(true);
    u.lblRegel->setTextFormat(Qt::PlainText);
    layout->addWidget(u.lblRegel);
    auto* top = new QHBoxLayout;
    layout->addLayout(top, 3);

    // The palette's tokens, filtered by path or hex.
    auto* left = new QVBoxLayout;
    top->addLayout(left, 2);
    auto* filterRow = new QHBoxLayout;
    QLabel* lblFilter = label(this, "lblFilter", QStringLiteral("&Suchen:"));
    QLineEdit* txtFilter = lineEdit(this, "txtFilter", QStringLiteral("Pfad oder #rrggbb"));
    // A text box is named by itself, not by its label, so a screen reader reads each once.
    txtFilter->setAccessibleName(QStringLiteral("Suche in den Tokens"));
    lblFilter->setBuddy(txtFilter);
    filterRow->addWidget(lblFilter);
    filterRow->addWidget(txtFilter);
    u.lblTokens = label(this, "lblTokens", {});
    left->addWidget(u.lblTokens);
    left->addLayout(filterRow);
    u.tokens = new PaletteTokensModel(this);
    u.filter = new QSortFilterProxyModel(this);
    u.filter->setSourceModel(u.tokens);
    u.filter->setFilterKeyColumn(-1); // path and hex
    u.filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    QTableView* lstTokens = table(this, "lstTokens", QStringLiteral("Tokens der Palette"), u.filter,
                                  {28 * ch, swatchColumn});
    lstTokens->setItemDelegate(new SwatchDelegate(lstTokens));
    left->addWidget(lstTokens);
    connect(txtFilter, &QLineEdit::textChanged, u.filter,
            &QSortFilterProxyModel::setFilterFixedString);

    // The rule, found or typed, the contexts, and the pairs.
    auto* right = new QVBoxLayout;
    top->addLayout(right, 3);
    auto* rule = new QGridLayout;
    QLabel* lblText = label(this, "lblText", QStringLiteral("&Text:"));
    u.txtText = lineEdit(this, "txtText", QStringLiteral("etwa fgColor.*"));
    u.txtText->setAccessibleName(QStringLiteral("Muster der Textfarben"));
    lblText->setBuddy(u.txtText);
    QLabel* lblHintergrund = label(this, "lblHintergrund", QStringLiteral("&Hintergrund:"));
    u.txtHintergrund = lineEdit(this, "txtHintergrund", QStringLiteral("etwa bgColor.*"));
    u.txtHintergrund->setAccessibleName(QStringLiteral("Muster der Hintergründe"));
    lblHintergrund->setBuddy(u.txtHintergrund);
    u.chkGleicheRolle = new QCheckBox(QStringLiteral("gleiche &Rolle"), this);
    u.chkGleicheRolle->setObjectName(QStringLiteral("chkGleicheRolle"));
    QPushButton* cmdPaaren = button(this, "cmdPaaren", QStringLiteral("&Paaren"));
    rule->addWidget(lblText, 0, 0);
    rule->addWidget(u.txtText, 0, 1);
    rule->addWidget(u.chkGleicheRolle, 0, 2);
    rule->addWidget(lblHintergrund, 1, 0);
    rule->addWidget(u.txtHintergrund, 1, 1);
    rule->addWidget(cmdPaaren, 1, 2);
    for (size_t m = 0; m < u.modifiers.size(); ++m) {
        const ResolverModifier& modifier = u.modifiers[m];
        QLabel* caption = label(this, "lblKontext", modifier.name + QLatin1Char(':'));
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cmbKontext"));
        combo->setAccessibleName(QStringLiteral("Kontext von %1").arg(modifier.name));
        combo->addItems(modifier.contexts);
        combo->setCurrentText(modifier.chosen);
        caption->setBuddy(combo);
        rule->addWidget(caption, 2 + int(m), 0);
        rule->addWidget(combo, 2 + int(m), 1);
        u.contexts.push_back(combo);
        connect(combo, &QComboBox::activated, this, [this] { pairAgain(); });
    }
    rule->setColumnStretch(1, 1);
    right->addLayout(rule);
    connect(cmdPaaren, &QPushButton::clicked, this, [this] { pairAgain(); });
    for (QLineEdit* edit : {u.txtText, u.txtHintergrund})
        connect(edit, &QLineEdit::returnPressed, this, [this] { pairAgain(); });
    connect(u.chkGleicheRolle, &QCheckBox::toggled, this, [this] {
        if (!ui_->txtText->text().trimmed().isEmpty())
            pairAgain();
    });

    u.lblSchemata = label(this, "lblSchemata", {});
    u.pairs = new PairsModel(this);
    QTableView* lstSchemata = table(this, "lstSchemata", QStringLiteral("Paare"), u.pairs,
                                    {24 * ch, swatchColumn, swatchColumn, 10 * ch, 22 * ch});
    lstSchemata->setItemDelegate(new SwatchDelegate(lstSchemata));
    u.lblSchemata->setBuddy(lstSchemata);
    right->addWidget(u.lblSchemata);
    right->addWidget(lstSchemata);
    auto* checks = new QHBoxLayout;
    QPushButton* cmdAlle = button(this, "cmdAlle", QStringLiteral("&Alle"));
    QPushButton* cmdKeine = button(this, "cmdKeine", QStringLiteral("&Keine"));
    checks->addWidget(cmdAlle);
    checks->addWidget(cmdKeine);
    checks->addStretch();
    right->addLayout(checks);
    connect(cmdAlle, &QPushButton::clicked, this, [this] { ui_->pairs->setAllChecked(true); });
    connect(cmdKeine, &QPushButton::clicked, this, [this] { ui_->pairs->setAllChecked(false); });

    u.lblAbgelehnt = label(this, "lblAbgelehnt", {});
    u.lstAbgelehnt = table(this, "lstAbgelehnt", QStringLiteral("Abgelehnte Einträge"), nullptr,
                           {12 * ch, 28 * ch});
    u.lblAbgelehnt->setBuddy(u.lstAbgelehnt);
    layout->addWidget(u.lblAbgelehnt);
    layout->addWidget(u.lstAbgelehnt, 1);
    u.lblUebergangen = label(this, "lblUebergangen", {});
    layout->addWidget(u.lblUebergangen);

    auto* buttons = new QHBoxLayout;
    u.cmdRaster = button(this, "cmdRaster", QStringLiteral("Im Raster &zeigen"));
    u.cmdRaster->setVisible(bool(step_.showInGrid));
    u.cmdRaster->setAutoDefault(false);
    buttons->addWidget(u.cmdRaster);
    buttons->addStretch();
    u.cmdImportieren = button(this, "cmdImportieren", QStringLiteral("Importieren"));
    QPushButton* cmdAbbrechen = button(this, "cmdAbbrechen", QStringLiteral("Abbrechen"));
    for (QPushButton* b : {cmdPaaren, cmdAlle, cmdKeine})
        b->setAutoDefault(false);
    buttons->addWidget(u.cmdImportieren);
    buttons->addWidget(cmdAbbrechen);
    layout->addLayout(buttons);
    connect(u.cmdRaster, &QPushButton::clicked, this, [this] { showInGrid(); });
    connect(u.cmdImportieren, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(u.pairs, &QAbstractItemModel::dataChanged, this, [this] { showChecked(); });
}

void frmImport::showReading() {
    PairingControls& u = *ui_;
    // The rule found, or why none: what was looked for and what came close.
    QString rule;
    if (!reading_.error.isEmpty())
        rule = reading_.error;
    else if (!reading_.conventions.isEmpty())
        rule = QStringLiteral("Gepaart nach ") + reading_.conventions.join(QStringLiteral("; ")) +
               QLatin1Char('.');
    else if (!reading_.schemes.empty() || !reading_.refused.empty())
        rule = QStringLiteral("Gepaart nach Gruppen mit „text“ und „background“.");
    else
        rule = QStringLiteral("Keine Paare gefunden: weder Gruppen mit „text“ und „background“ "
                              "noch Tokens nach den üblichen Rollen (fg/bg, on-X, fgColor.X ...). "
                              "Geben Sie Muster für Text und Hintergrund an.") +
               (reading_.nearMisses.isEmpty() ? QString()
                                              : QStringLiteral("\nBeinahe: ") +
                                                    reading_.nearMisses.join(QStringLiteral("; ")));
    for (const QString& note : palette_.notes)
        rule += QStringLiteral("\nHinweis: ") + note;
    u.lblRegel->setText(rule);

    const std::vector<PaletteEntry> none;
    const std::vector<PaletteEntry>& entries =
        palette_.palettes.empty() ? none : palette_.palettes.front().entries;
    u.tokens->setEntries(entries);
    u.lblTokens->setText(
        entries.size() == 1
            ? QStringLiteral("1 Farb-Token:")
            : QStringLiteral("%1 Farb-Tokens:").arg(germanNumber(qint64(entries.size()))));
    u.pairs->setReading(reading_, u.stored);

    QAbstractItemModel* old = u.lstAbgelehnt->model();
    u.lstAbgelehnt->setModel(new RefusedEntriesModel(reading_.refused, this));
    delete old;
    const bool anyRefused = !reading_.refused.empty();
    u.lblAbgelehnt->setText(refusedEntriesCaption(qint64(reading_.refused.size())));
    u.lblAbgelehnt->setVisible(anyRefused);
    u.lstAbgelehnt->setVisible(anyRefused);
    const QString others = otherTokensCaption(reading_.otherTokens, reading_.otherGroups);
    u.lblUebergangen->setText(others);
    u.lblUebergangen->setVisible(!others.isEmpty());
    u.cmdRaster->setEnabled(!entries.empty());
    showChecked();
}

void frmImport::showChecked() {
    PairingControls& u = *ui_;
    const qint64 checked = u.pairs->checkedCount();
    const qint64 all = qint64(reading_.schemes.size());
    QString caption;
    if (all == 0)
        caption = QStringLiteral("Keine Paare.");
    else
        caption =
            QStringLiteral("%1 von %2 angehakt%3:")
                .arg(germanNumber(checked),
                     all == 1 ? QStringLiteral("1 Paar")
                              : QStringLiteral("%1 Paaren").arg(germanNumber(all)),
                     u.pairs->storedCount() > 0 ? QStringLiteral(" (%1 schon vorhanden)")
                                                      .arg(germanNumber(u.pairs->storedCount()))
                                                : QString());
    u.lblSchemata->setText(caption);
    u.cmdImportieren->setEnabled(checked > 0);
    u.cmdImportieren->setDefault(checked > 0);
}

ImportOptions frmImport::shownOptions() const {
    ImportOptions options;
    options.rules = {ui_->txtText->text().trimmed(), ui_->txtHintergrund->text().trimmed(),
                     ui_->chkGleicheRolle->isChecked()};
    for (size_t m = 0; m < ui_->contexts.size(); ++m)
        options.palette.context << ui_->modifiers[m].name + QLatin1Char('=') +
                                       ui_->contexts[m]->currentText();
    return options;
}

void frmImport::pairAgain() {
    if (!step_.pair)
        return;
    const ImportOptions options = shownOptions();
    if (options.rules.text.isEmpty() != options.rules.background.isEmpty()) {
        reading_ = {};
        reading_.error = QStringLiteral("Eine Regel braucht beide Muster: eines für den Text und "
                                        "eines für den Hintergrund.");
    } else {
        reading_ = step_.pair(options);
    }
    if (step_.palette)
        palette_ = step_.palette(options.palette);
    showReading();
}

void frmImport::showInGrid() {
    if (!step_.showInGrid || palette_.palettes.empty())
        return;
    // Closed first: the grid is a window of the main window, which a modal window would block.
    reject();
    step_.showInGrid(palette_, ui_->txtText->text().trimmed(),
                     ui_->txtHintergrund->text().trimmed());
}

std::vector<ColourScheme> frmImport::chosenSchemes() const {
    return ui_ ? ui_->pairs->checkedSchemes() : original_->schemes;
}

} // namespace pigmora
