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
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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

frmImport::frmImport(const ImportReading& reading, PairingStep step, QWidget* owner)
    : QDialog(owner)
    , reading_(reading)
    , step_(std::move(step)) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Farbschemata importieren"));
    const int ch = fontMetrics().averageCharWidth();
    const int swatchColumn = 16 + 12 * ch;
    const PaletteReading palette = step_.palette ? step_.palette({}) : PaletteReading{};
    modifiers_ = palette.modifiers;

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top, 3);

    // The palette's tokens, filtered by path or hex.
    auto* left = new QVBoxLayout;
    top->addLayout(left, 2);
    auto* filterRow = new QHBoxLayout;
    QLabel* lblFilter = label(this, "lblFilter", QStringLiteral("&Suchen:"));
    auto* txtFilter = new QLineEdit(this);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setAccessibleName(QStringLiteral("Tokens suchen"));
    lblFilter->setBuddy(txtFilter);
    filterRow->addWidget(lblFilter);
    filterRow->addWidget(txtFilter);
    left->addLayout(filterRow);
    tokens_ = new PaletteTokensModel(this);
    if (!palette.palettes.empty())
        tokens_->setEntries(palette.palettes.front().entries);
    filter_ = new QSortFilterProxyModel(this);
    filter_->setSourceModel(tokens_);
    filter_->setFilterKeyColumn(-1); // path and hex
    filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    QTableView* lstTokens = table(this, "lstTokens", QStringLiteral("Tokens der Palette"), filter_,
                                  {28 * ch, swatchColumn});
    lstTokens->setItemDelegate(new SwatchDelegate(lstTokens));
    left->addWidget(lstTokens);
    connect(txtFilter, &QLineEdit::textChanged, filter_,
            [this](const QString& text) { filter_->setFilterFixedString(text); });

    // The rule, found or typed, the contexts, and the pairs.
    auto* right = new QVBoxLayout;
    top->addLayout(right, 3);
    lblRegel_ = label(this, "lblRegel", {});
    lblRegel_->setWordWrap(true);
    right->addWidget(lblRegel_);
    auto* rule = new QGridLayout;
    QLabel* lblText = label(this, "lblText", QStringLiteral("&Text:"));
    txtText_ = new QLineEdit(this);
    txtText_->setObjectName(QStringLiteral("txtText"));
    txtText_->setPlaceholderText(QStringLiteral("etwa fgColor.*"));
    lblText->setBuddy(txtText_);
    QLabel* lblHintergrund = label(this, "lblHintergrund", QStringLiteral("&Hintergrund:"));
    txtHintergrund_ = new QLineEdit(this);
    txtHintergrund_->setObjectName(QStringLiteral("txtHintergrund"));
    txtHintergrund_->setPlaceholderText(QStringLiteral("etwa bgColor.*"));
    lblHintergrund->setBuddy(txtHintergrund_);
    chkGleicheRolle_ = new QCheckBox(QStringLiteral("gleiche &Rolle"), this);
    chkGleicheRolle_->setObjectName(QStringLiteral("chkGleicheRolle"));
    QPushButton* cmdPaaren = button(this, "cmdPaaren", QStringLiteral("&Paaren"));
    rule->addWidget(lblText, 0, 0);
    rule->addWidget(txtText_, 0, 1);
    rule->addWidget(lblHintergrund, 1, 0);
    rule->addWidget(txtHintergrund_, 1, 1);
    rule->addWidget(chkGleicheRolle_, 0, 2);
    rule->addWidget(cmdPaaren, 1, 2);
    for (size_t m = 0; m < modifiers_.size(); ++m) {
        const ResolverModifier& modifier = modifiers_[m];
        QLabel* caption = label(this, "lblKontext", modifier.name + QLatin1Char(':'));
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cmbKontext"));
        combo->setAccessibleName(QStringLiteral("Kontext von %1").arg(modifier.name));
        combo->addItems(modifier.contexts);
        combo->setCurrentText(modifier.chosen);
        caption->setBuddy(combo);
        rule->addWidget(caption, 2 + int(m), 0);
        rule->addWidget(combo, 2 + int(m), 1);
        contexts_.push_back(combo);
        connect(combo, &QComboBox::activated, this, [this] { cmdPaaren_Click(); });
    }
    right->addLayout(rule);
    connect(cmdPaaren, &QPushButton::clicked, this, [this] { cmdPaaren_Click(); });
    for (QLineEdit* edit : {txtText_, txtHintergrund_})
        connect(edit, &QLineEdit::returnPressed, this, [this] { cmdPaaren_Click(); });

    lblSchemata_ = label(this, "lblSchemata", {});
    pairs_ = new PairsModel(this);
    QTableView* lstSchemata = table(this, "lstSchemata", QStringLiteral("Paare"), pairs_,
                                    {24 * ch, swatchColumn, swatchColumn, 10 * ch, 22 * ch});
    lstSchemata->setItemDelegate(new SwatchDelegate(lstSchemata));
    lblSchemata_->setBuddy(lstSchemata);
    right->addWidget(lblSchemata_);
    right->addWidget(lstSchemata);
    auto* checks = new QHBoxLayout;
    QPushButton* cmdAlle = button(this, "cmdAlle", QStringLiteral("&Alle"));
    QPushButton* cmdKeine = button(this, "cmdKeine", QStringLiteral("&Keine"));
    checks->addWidget(cmdAlle);
    checks->addWidget(cmdKeine);
    checks->addStretch();
    right->addLayout(checks);
    connect(cmdAlle, &QPushButton::clicked, this, [this] { pairs_->setAllChecked(true); });
    connect(cmdKeine, &QPushButton::clicked, this, [this] { pairs_->setAllChecked(false); });

    lblAbgelehnt_ = label(this, "lblAbgelehnt", {});
    lstAbgelehnt_ = table(this, "lstAbgelehnt", QStringLiteral("Abgelehnte Einträge"), nullptr,
                          {12 * ch, 28 * ch});
    lblAbgelehnt_->setBuddy(lstAbgelehnt_);
    layout->addWidget(lblAbgelehnt_);
    layout->addWidget(lstAbgelehnt_, 1);
    lblUebergangen_ = label(this, "lblUebergangen", {});
    layout->addWidget(lblUebergangen_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdImportieren_ = button(this, "cmdImportieren", QStringLiteral("Importieren"));
    QPushButton* cmdAbbrechen = button(this, "cmdAbbrechen", QStringLiteral("Abbrechen"));
    buttons->addWidget(cmdImportieren_);
    buttons->addWidget(cmdAbbrechen);
    layout->addLayout(buttons);
    connect(cmdImportieren_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(pairs_, &QAbstractItemModel::dataChanged, this,
            [this] { cmdImportieren_->setEnabled(pairs_->checkedCount() > 0); });
    connect(pairs_, &QAbstractItemModel::modelReset, this,
            [this] { cmdImportieren_->setEnabled(pairs_->checkedCount() > 0); });
    showReading();
    resize(150 * ch, 36 * fontMetrics().height());
}

void frmImport::showReading() {
    // The rule found, or why none: what was looked for and what came close.
    QString rule;
    if (!reading_.error.isEmpty())
        rule = reading_.error;
    else if (!reading_.conventions.isEmpty())
        rule = QStringLiteral("Gepaart nach ") + reading_.conventions.join(QStringLiteral("; "));
    else if (reading_.schemes.empty() && reading_.refused.empty())
        rule = QStringLiteral("Keine Paare gefunden.") +
               (reading_.nearMisses.isEmpty()
                    ? QString()
                    : QStringLiteral(" Beinahe: ") + reading_.nearMisses.join(QLatin1Char(' ')));
    else
        rule = QStringLiteral("Gepaart nach Gruppen mit „text“ und „background“.");
    for (const QString& note : reading_.notes)
        rule += QStringLiteral("\nHinweis: ") + note;
    lblRegel_->setText(rule);
    pairs_->setReading(reading_);
    lblSchemata_->setText(
        importedSchemesCaption(qint64(reading_.schemes.size()), reading_.approximated));
    QAbstractItemModel* old = lstAbgelehnt_->model();
    lstAbgelehnt_->setModel(new RefusedEntriesModel(reading_.refused, this));
    delete old;
    const bool anyRefused = !reading_.refused.empty();
    lblAbgelehnt_->setText(refusedEntriesCaption(qint64(reading_.refused.size())));
    lblAbgelehnt_->setVisible(anyRefused);
    lstAbgelehnt_->setVisible(anyRefused);
    const QString others = otherTokensCaption(reading_.otherTokens, reading_.otherGroups);
    lblUebergangen_->setText(others);
    lblUebergangen_->setVisible(!others.isEmpty());
    cmdImportieren_->setEnabled(pairs_->checkedCount() > 0);
    cmdImportieren_->setDefault(pairs_->checkedCount() > 0);
}

ImportOptions frmImport::shownOptions() const {
    ImportOptions options;
    options.rules = {txtText_->text().trimmed(), txtHintergrund_->text().trimmed(),
                     chkGleicheRolle_->isChecked()};
    for (size_t m = 0; m < contexts_.size(); ++m)
        options.palette.context << modifiers_[m].name + QLatin1Char('=') +
                                       contexts_[m]->currentText();
    return options;
}

void frmImport::cmdPaaren_Click() {
    if (!step_.pair)
        return;
    const ImportOptions options = shownOptions();
    reading_ = step_.pair(options);
    if (step_.palette) {
        const PaletteReading palette = step_.palette(options.palette);
        tokens_->setEntries(palette.palettes.empty() ? std::vector<PaletteEntry>{}
                                                     : palette.palettes.front().entries);
    }
    showReading();
}

std::vector<ColourScheme> frmImport::chosenSchemes() const {
    if (original_)
        return original_->schemes;
    return pairs_->checkedSchemes();
}

} // namespace pigmora
