#pragma once

#include "contrast_report.h"
#include "kontrast_layout.h"

#include <QWidget>

class QAction;

namespace pigmora {

class ChannelEditor;
class SampleFollower;

// The contrast window: the WCAG 2.x ratio and verdicts of the sample's text colour on its
// background, the nearest colours of the edited one's hue that pass, the APCA contrast and the
// sample as seen with four colour-vision deficiencies. A modeless window of the main window
// that follows the sample as it changes; closing it only hides it.
class frmKontrast : public QWidget {
    Q_OBJECT
public:
    // The window follows the pair of `channels` and the font of `sample`; `mnuVorder` and
    // `mnuHinter` are the target switch its screen buttons use.
    frmKontrast(QWidget* owner, ChannelEditor& channels, QWidget* sample, QAction* mnuVorder,
                QAction* mnuHinter);
    ~frmKontrast() override;

    // Shows the window, brought to the front and active.
    void open();
    // Reads the sample and shows what it finds. The window does this by itself, queued after
    // every change of the sample.
    void refresh();

signals:
    // The window shows the sample as it is now.
    void refreshed();
    // "Text vom Bildschirm" or "Hintergrund vom Bildschirm": the edit target is switched, now
    // the colour is to be picked from the screen.
    void pickFromScreen();
    // "Paar vom Bildschirm": text colour and background are to be picked in one drag.
    void pickPairFromScreen();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SampleReading readSample() const;
    void showReport();
    void apply(const OfferedColour& offer);

    ChannelEditor& channels_;
    QWidget* sample_;
    KontrastControls ui_;
    ContrastReport report_;
    SampleFollower* follower_;
};

} // namespace pigmora
