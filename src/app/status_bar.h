#pragma once

#include "editor/bevel.h"

#include <QLabel>
#include <QList>
#include <QTimer>

namespace pigmora {

// The locale's short time format without seconds: the clock shows hours and minutes.
QString clockFormat(const QLocale& locale);
// A time format without its seconds: "s" or "ss" with the separator before them (":", "." or
// ",") and a fraction after them (".z" to ".zzz").
QString withoutSeconds(const QString& format);

struct PanelSettings {
    enum class Style { Text, Time, Date };
    enum class Sizing { FitText, Spring };

    QString text;
    QString key;
    QString toolTip;
    int minimumWidth = 0; // pixels
    Sizing sizing = Sizing::FitText;
    Qt::Alignment alignment = Qt::AlignLeft;
    Bevel bevel = Bevel::Inset;
    Style style = Style::Text;
};

// One panel of the status bar: a framed label whose frame shows its bevel.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(const PanelSettings& settings, QWidget* parent);

    const PanelSettings& settings() const { return settings_; }
    int preferredWidth() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PanelSettings settings_;
};

// A status bar of panels side by side. Panels that fit their text are as wide as their text or
// their minimum width; the spring panel takes what is left. Should the panels not fit, the
// spring panel gives up its width first, so no panel with content is cut off. Time and date
// panels show the current time and date in the platform's short formats (German ones where the
// system sets none) and keep themselves current.
class PanelStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    StatusPanel* addPanel(const PanelSettings& settings);
    // Panels count from 1.
    StatusPanel* panel(int index) const { return panels_.value(index - 1); }
    int panelCount() const { return int(panels_.size()); }
    // Brings the time and date panels up to date; runs by itself at every full minute.
    void refreshClock();

signals:
    void panelClicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPanels();
    void scheduleClock();

    QList<StatusPanel*> panels_;
    QTimer clock_{this};
};

} // namespace pigmora
