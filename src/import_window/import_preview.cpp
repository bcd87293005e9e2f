#include "import_preview.h"

#include "base/german_locale.h"
#include "base/shown_text.h"
#include "exchange/scheme_import.h"
#include "import_preview_models.h"

#include <QHBoxLayout>
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
    : QDialog(owner) {
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

} // namespace pigmora
