#pragma once

#include <QLabel>

namespace pigmora {

// A label that reports a click of the left mouse button (press and release on the label).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace pigmora
