#include "status_bar.h"

#include "base/german_locale.h"

#include <QDateTime>
#include <QLocale>
#include <QMouseEvent>
#include <algorithm>

namespace pigmora {

namespace {
constexpr int panelGap = 2;
constexpr int textMargin = 4;
} // namespace

QString withoutSeconds(const QString& format) {
    // By hand rather than with a regular expression: that would bring the expression engine and
    // its compiler into the start-up (0.4 MB) for this one edit.
    const auto at = [&format](qsizetype i, char c) {
        return i < format.size() && format[i] == QLatin1Char(c);
    };
    QString kept;
    kept.reserve(format.size());
    for (qsizetype i = 0; i < format.size();) {
        const bool separator = (at(i, ':') || at(i, '.') || at(i, ',')) && at(i + 1, 's');
        qsizetype end = separator ? i + 1 : i;
        if (!at(end, 's')) {
            kept += format[i++];
            continue;
        }
        end += at(end + 1, 's') ? 2 : 1;
        if (at(end, '.') && at(end + 1, 'z')) {
            end += 2;
            for (int more = 0; more < 2 && at(end, 'z'); ++more)
                ++end;
        }
        i = end;
    }
    return kept;
}

QString clockFormat(const QLocale& locale) {
    return withoutSeconds(locale.timeFormat(QLocale::ShortFormat));
}

StatusPanel::StatusPanel(const PanelSettings& settings, QWidget* parent)
    : QLabel(settings.text, parent)
    , settings_(settings) {
    setAlignment(settings.alignment | Qt::AlignVCenter);
    setToolTip(settings.toolTip);
    setMargin(0);
    setIndent(textMargin);
    setBevel(this, settings.bevel);
}

int StatusPanel::preferredWidth() const {
    const int textWidth =
        fontMetrics().horizontalAdvance(text()) + 2 * textMargin + 2 * frameWidth();
    if (settings_.sizing == PanelSettings::Sizing::Spring)
        return settings_.minimumWidth;
    return std::max(settings_.minimumWidth, textWidth);
}

void StatusPanel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

PanelStatusBar::PanelStatusBar(QWidget* parent)
    : QWidget(parent) {
    clock_.setSingleShot(true);
    clock_.setTimerType(Qt::CoarseTimer);
    connect(&clock_, &QTimer::timeout, this, [this] {
        refreshClock();
        scheduleClock();
    });
}

StatusPanel* PanelStatusBar::addPanel(const PanelSettings& settings) {
    auto* panel = new StatusPanel(settings, this);
    panels_.append(panel);
    const int index = int(panels_.size());
    connect(panel, &StatusPanel::clicked, this, [this, index] { emit panelClicked(index); });
    if (settings.style != PanelSettings::Style::Text) {
        refreshClock();
        scheduleClock();
    }
    layoutPanels();
    return panel;
}

void PanelStatusBar::refreshClock() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = displayLocale();
    bool changed = false;
    for (StatusPanel* panel : std::as_const(panels_)) {
        QString text;
        switch (panel->settings().style) {
        case PanelSettings::Style::Text:
            continue;
        case PanelSettings::Style::Time:
            text = locale.toString(now.time(), clockFormat(locale));
            break;
        case PanelSettings::Style::Date:
            text = locale.toString(now.date(), QLocale::ShortFormat);
            break;
        }
        if (panel->text() != text) {
            panel->setText(text);
            changed = true;
        }
    }
    if (changed)
        layoutPanels();
}

void PanelStatusBar::scheduleClock() {
    // Wake up just after the next full minute rather than polling.
    const int msIntoMinute = QTime::currentTime().msecsSinceStartOfDay() % 60000;
    clock_.start(60000 - msIntoMinute + 50);
}

void PanelStatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanels();
}

void PanelStatusBar::layoutPanels() {
    int fixed = 0;
    int springs = 0;
    for (const StatusPanel* panel : std::as_const(panels_)) {
        if (panel->settings().sizing == PanelSettings::Sizing::Spring)
            ++springs;
        else
            fixed += panel->preferredWidth();
    }
    const int gaps = panelGap * std::max(0, int(panels_.size()) - 1);
    const int left = std::max(0, width() - fixed - gaps);
    const int springWidth = springs ? left / springs : 0;

    int x = 0;
    const int panelHeight = std::max(0, height() - panelGap);
    for (StatusPanel* panel : std::as_const(panels_)) {
        const int w = panel->settings().sizing == PanelSettings::Sizing::Spring
                          ? springWidth
                          : panel->preferredWidth();
        panel->setGeometry(x, panelGap, w, panelHeight);
        x += w + panelGap;
    }
}

} // namespace pigmora
