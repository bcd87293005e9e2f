#include "main_window.h"

#include "channel_box.h"
#include "channel_slider.h"
#include "click_label.h"
#include "contrast_window/contrast_window.h"
#include "editor/widget_colours.h"
#include "exchange_commands.h"
#include "eyedropper_commands.h"
#include "page_audit_window/page_check_window.h"
#include "page_check.h"
#include "raster_commands.h"
#include "raster_window/raster_window.h"
#include "scheme_list.h"
#include "shortcut_priority.h"
#include "status_bar.h"
#include "window_accessibility.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <cstdlib>

namespace pigmora {

frmHauptprogramm::frmHauptprogramm(const QString& schemeDirectory, Dialogs* dialogs,
                                   QWidget* parent)
    : QMainWindow(parent)
    , ownDialogs_(dialogs ? nullptr : std::make_unique<QtDialogs>())
    , dialogs_(dialogs ? dialogs : ownDialogs_.get())
    , endProcess_([] { std::_Exit(EXIT_SUCCESS); }) {
    setObjectName(QStringLiteral("frmHauptprogramm"));
    setWindowTitle(QStringLiteral("RGB-Tintrix"));
    // Fixed single border: a close button and the system menu, no minimise or maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(clientArea.size());
    setCentralWidget(client);
    ui_ = buildWindowLayout(client);
    menu_ = buildMenuTree(menuBar());
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    std::array<ChannelControls, 3> channelControls;
    for (int i = 0; i < 3; ++i) {
        const ChannelRow& row = ui_.rows[i];
        channelControls[i] = {row.slider, row.decimalBox, row.hexBox};
    }
    // The label shows the pair before anyone else hears of a change.
    showPairOn(pair_, ui_.lblTest);
    channels_ = std::make_unique<ChannelEditor>(state_, channelControls, pair_);
    numberMode_ =
        std::make_unique<NumberMode>(state_, menu_.mnuDez, menu_.mnuHex, ui_.lblDez, ui_.lblHex);
    editTarget_ = std::make_unique<EditTarget>(state_, *channels_, menu_.mnuVorder, menu_.mnuHinter,
                                               ui_.StatusBar1->panel(1));

    schemeCommands_ =
        std::make_unique<SchemeCommands>(schemes_, *ui_.cmbFarbe, state_, *channels_, *editTarget_);

    commands_ = std::make_unique<MenuCommands>(this, state_, *channels_, ui_.lblTest, *dialogs_,
                                               &systemClipboard_);

    connectChannelHandlers();
    connectMenuHandlers();
    connectSchemeHandlers();
    describeMainWindow(ui_, menu_, pair_);
    Form_Load(schemeDirectory);
    ui_.rows[0].decimalBox->setFocus();
}

frmHauptprogramm::~frmHauptprogramm() = default;

void frmHauptprogramm::connectChannelHandlers() {
    QList<QKeySequence> windowShortcuts;
    for (const QAction* action : menu_.all())
        windowShortcuts.append(action->shortcut());
    auto* shortcutsFirst = new ShortcutPriority(windowShortcuts, this);
    for (Channel channel : allChannels) {
        const ChannelRow& row = ui_.rows[static_cast<int>(channel)];
        connect(row.slider, &ChannelSlider::scrolled, this,
                [this, channel] { channels_->sliderScrolled(channel); });
        connect(row.decimalBox, &QLineEdit::textChanged, this,
                [this, channel] { channels_->decimalBoxChanged(channel); });
        row.decimalBox->setKeyPressHandler([this, channel](std::int16_t& keyAscii) {
            channels_->decimalBoxKeyPress(channel, keyAscii);
        });
        row.decimalBox->installEventFilter(shortcutsFirst);
    }
}

void frmHauptprogramm::connectMenuHandlers() {
    connect(menu_.mnuEnde, &QAction::triggered, this, &frmHauptprogramm::mnuEnde_Click);
    connect(menu_.mnuDez, &QAction::triggered, this, [this] { numberMode_->mnuDez_Click(); });
    connect(menu_.mnuHex, &QAction::triggered, this, [this] { numberMode_->mnuHex_Click(); });
    connect(ui_.lblDez, &ClickLabel::clicked, this, [this] { numberMode_->mnuDez_Click(); });
    connect(ui_.lblHex, &ClickLabel::clicked, this, [this] { numberMode_->mnuHex_Click(); });
    connect(menu_.mnuVorder, &QAction::triggered, this, [this] { editTarget_->mnuVorder_Click(); });
    connect(menu_.mnuHinter, &QAction::triggered, this, [this] { editTarget_->mnuHinter_Click(); });
    connect(menu_.mnuKopieren, &QAction::triggered, this,
            [this] { commands_->mnuKopieren_Click(); });
    connect(menu_.mnuWahl, &QAction::triggered, this, [this] { commands_->mnuWahl_Click(); });
    connect(menu_.mnuSchrift, &QAction::triggered, this, [this] { commands_->mnuSchrift_Click(); });
    connect(ui_.lblTest, &ClickLabel::clicked, this, [this] { commands_->lblTest_Click(); });
    connect(menu_.mnuHilfe, &QAction::triggered, this, [this] { commands_->mnuHilfe_Click(); });
    connect(menu_.mnuInfo, &QAction::triggered, this, [this] { commands_->mnuInfo_Click(); });
    connect(menu_.mnuExportieren, &QAction::triggered, this,
            [this] { exchange().mnuExportieren_Click(); });
    connect(menu_.mnuImportieren, &QAction::triggered, this,
            [this] { exchange().mnuImportieren_Click(); });
    connect(menu_.mnuCssEinfügen, &QAction::triggered, this,
            [this] { exchange().mnuCssEinfügen_Click(commands_->clipboard()); });
    connect(menu_.mnuKontrast, &QAction::triggered, this, &frmHauptprogramm::mnuKontrast_Click);
    connect(menu_.mnuSeite, &QAction::triggered, this, &frmHauptprogramm::mnuSeite_Click);
    connect(menu_.mnuBildschirm, &QAction::triggered, this,
            [this] { eyedropper().mnuBildschirm_Click(); });
    connect(menu_.mnuBild, &QAction::triggered, this, [this] { eyedropper().mnuBild_Click(); });
    connect(menu_.mnuPaar, &QAction::triggered, this, [this] { eyedropper().mnuPaar_Click(); });
    connect(menu_.mnuRaster, &QAction::triggered, this, [this] { raster().mnuRaster_Click(); });
    connect(ui_.StatusBar1, &PanelStatusBar::panelClicked, this, [this](int index) {
        editTarget_->StatusBar1_PanelClick(bevelOf(ui_.StatusBar1->panel(index)));
    });
}

void frmHauptprogramm::connectSchemeHandlers() {
    connect(ui_.cmbFarbe, &SchemeList::entryChosen, this,
            [this] { schemeCommands_->cmbFarbe_Click(); });
    connect(ui_.cmdNeueFarbe, &QPushButton::clicked, this, &frmHauptprogramm::cmdNeueFarbe_Click);
    connect(ui_.cmdWeg, &QPushButton::clicked, this, &frmHauptprogramm::cmdWeg_Click);
}

void frmHauptprogramm::cmdNeueFarbe_Click() {
    const QString name = dialogs_->prompt(
        this, QStringLiteral("Bitte geben Sie eine Bezeichnung für das neue Farbschema ein!"),
        QStringLiteral("Neuer Eintrag"), SchemeCommands::maxNameLength);
    showError(schemeCommands_->storeNew(name));
}

void frmHauptprogramm::cmdWeg_Click() {
    showError(schemeCommands_->cmdWeg_Click());
}

void frmHauptprogramm::showError(const std::optional<QString>& message) {
    if (message)
        dialogs_->message(this, *message, QCoreApplication::applicationName(),
                          Dialogs::MessageStyle::OkOnly);
}

ExchangeCommands& frmHauptprogramm::exchange() {
    if (!exchange_) {
        exchange_ = std::make_unique<ExchangeCommands>(this, schemes_, *ui_.cmbFarbe, *channels_,
                                                       *dialogs_);
        exchange_->setPaletteToGrid([this](const PaletteReading& palette, const QString& origin,
                                           const QString& rows, const QString& columns) {
            RasterCommands& grid = raster();
            grid.window().showPalette(palette, origin, 0, rows, columns);
            grid.mnuRaster_Click();
        });
    }
    return *exchange_;
}

EyedropperCommands& frmHauptprogramm::eyedropper() {
    if (!eyedropper_) {
        eyedropper_ = std::make_unique<EyedropperCommands>(this, *channels_, *dialogs_);
        eyedropper_->setPairTarget(*editTarget_);
    }
    return *eyedropper_;
}

RasterCommands& frmHauptprogramm::raster() {
    if (!raster_)
        raster_ =
            std::make_unique<RasterCommands>(this, *channels_, ui_.lblTest, *editTarget_, schemes_,
                                             *ui_.cmbFarbe, *schemeCommands_, *dialogs_);
    return *raster_;
}

void frmHauptprogramm::Form_Load(const QString& schemeDirectory) {
    state_.bytmodus = 1;
    state_.bytziel = 2;
    try {
        ui_.cmbFarbe->addEntries(schemes_.open(schemeDirectory));
        loaded_ = true;
    } catch (const SchemeFileError& e) {
        reportFatal(e.message());
    }
}

void frmHauptprogramm::Form_Unload() {
    try {
        schemes_.close();
    } catch (const SchemeFileError& e) {
        reportFatal(e.message());
    }
}

void frmHauptprogramm::reportFatal(const QString& message) {
    dialogs_->message(this, message, QCoreApplication::applicationName(),
                      Dialogs::MessageStyle::OkOnly);
}

void frmHauptprogramm::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmHauptprogramm::mnuKontrast_Click() {
    if (!kontrast_) {
        kontrast_ = std::make_unique<frmKontrast>(this, *channels_, ui_.lblTest, menu_.mnuVorder,
                                                  menu_.mnuHinter);
        connect(kontrast_.get(), &frmKontrast::pickFromScreen, this,
                [this] { eyedropper().mnuBildschirm_Click(); });
        connect(kontrast_.get(), &frmKontrast::pickPairFromScreen, this,
                [this] { eyedropper().mnuPaar_Click(); });
    }
    kontrast_->open();
}

void frmHauptprogramm::mnuSeite_Click() {
    if (!seitenpruefung_)
        seitenpruefung_ = makePageCheck(this, *editTarget_, *dialogs_);
    seitenpruefung_->open();
}

void frmHauptprogramm::mnuEnde_Click() {
    hide();
    endProcess_();
}

} // namespace pigmora
