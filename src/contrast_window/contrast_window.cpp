#include "contrast_window.h"

#include "accessibility/accessible_shape.h"
#include "base/sample_pair.h"
#include "editor/channel_editor.h"
#include "offer_rows.h"
#include "sample_follower.h"
#include "sample_size.h"
#include "value_label.h"
#include "vision_previews.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace pigmora {

frmKontrast::frmKontrast(QWidget* owner, ChannelEditor& channels, QWidget* sample,
                         QAction* mnuVorder, QAction* mnuHinter)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , channels_(channels)
    , sample_(sample)
    , ui_(buildKontrastLayout(this))
    , follower_(new SampleFollower(channels.pair(), sample, this, [this] { refresh(); })) {
    setObjectName(QStringLiteral("frmKontrast"));
    setWindowTitle(QStringLiteral("Kontrast"));
    setAccessibleName(windowTitle());
    setAccessibleRole(this, QAccessible::Window);

    const std::pair<QPushButton*, const OfferedColour*> offers[] = {
        {ui_.aa.lighter.apply, &report_.aaOffer.lighter},
        {ui_.aa.darker.apply, &report_.aaOffer.darker},
        {ui_.aaa.lighter.apply, &report_.aaaOffer.lighter},
        {ui_.aaa.darker.apply, &report_.aaaOffer.darker}};
    for (const auto& [button, offer] : offers)
        connect(button, &QPushButton::clicked, this, [this, offer = offer] { apply(*offer); });
    connect(ui_.cmdSchließen, &QPushButton::clicked, this, &QWidget::close);
    // Through the same commands as Ctrl+V and Ctrl+I, so check marks and status panel follow.
    const std::pair<QPushButton*, QAction*> pickers[] = {
        {ui_.cmdTextVomBildschirm, mnuVorder}, {ui_.cmdHintergrundVomBildschirm, mnuHinter}};
    for (const auto& [button, target] : pickers)
        connect(button, &QPushButton::clicked, this, [this, target = target] {
            target->trigger();
            emit pickFromScreen();
        });
    connect(ui_.cmdPaarVomBildschirm, &QPushButton::clicked, this,
            &frmKontrast::pickPairFromScreen);
}

frmKontrast::~frmKontrast() = default;

void frmKontrast::open() {
    show();
    raise();
    activateWindow();
}

SampleReading frmKontrast::readSample() const {
    const SamplePair& pair = channels_.pair();
    SampleReading r;
    r.text = pair.text();
    r.background = pair.background();
    r.points = fontPoints(sample_->font(), sample_->logicalDpiY());
    r.bold = fontIsBold(sample_->font());
    r.editsText = pair.editsText();
    return r;
}

void frmKontrast::refresh() {
    report_ = makeContrastReport(readSample());
    showReport();
    emit refreshed();
}

void frmKontrast::showReport() {
    const ContrastReport& r = report_;
    showValue(ui_.lblVerhältnis, QStringLiteral("Kontrastverhältnis"), r.ratio);
    showCaption(ui_.lblTextgröße, r.textSize);
    showCaption(ui_.lblSchwelle, r.threshold);
    const std::pair<QLabel*, QLabel*> verdictLabels[] = {{ui_.lblAATitel, ui_.lblAA},
                                                         {ui_.lblAAATitel, ui_.lblAAA},
                                                         {ui_.lblGrafikTitel, ui_.lblGrafik}};
    const Verdict* verdicts[] = {&r.aa, &r.aaa, &r.nonText};
    for (int i = 0; i < 3; ++i) {
        const auto [caption, value] = verdictLabels[i];
        showCaption(caption, verdicts[i]->caption);
        showValue(value, verdicts[i]->caption, verdicts[i]->text);
    }
    showValue(ui_.lblApca, ui_.lblApcaTitel->text(), r.apca);
    showCaption(ui_.lblBearbeitet, r.edited);
    for (std::size_t i = 0; i < ui_.lblAls.size(); ++i)
        showValue(ui_.lblAls[i],
                  QStringLiteral("Bearbeitete Farbe als %1").arg(QLatin1String(editedFormNames[i])),
                  r.editedForms[i]);
    showLevelOffer(ui_.aa, r.aaOffer);
    showLevelOffer(ui_.aaa, r.aaaOffer);
    for (std::size_t i = 0; i < ui_.vision.size(); ++i)
        showVisionPreview(ui_.vision[i], r.vision[i]);
}

void frmKontrast::apply(const OfferedColour& offer) {
    if (offer.exists)
        channels_.setColour(offer.colour);
}

void frmKontrast::showEvent(QShowEvent* event) {
    follower_->refreshIfStale();
    QWidget::showEvent(event);
}

void frmKontrast::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace pigmora
