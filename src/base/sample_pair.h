#pragma once

#include "colour_value.h"

#include <QFlags>
#include <QObject>

namespace pigmora {

// The pair the sample shows: its text colour, its background, and which of the two the channels
// edit. The channel setters write it (through ZeigeFarbe), the target commands say which colour
// is edited; the sample label and every window that judges the pair observe it. It holds no
// other state and starts as the window's layout does: black on black, the background edited.
class SamplePair : public QObject {
    Q_OBJECT
public:
    enum Part { Text = 1, Background = 2, Target = 4 };
    Q_DECLARE_FLAGS(Parts, Part)
    Q_FLAG(Parts)

    explicit SamplePair(QObject* parent = nullptr);

    Rgb text() const { return text_; }
    Rgb background() const { return background_; }
    bool editsText() const { return editsText_; }
    // The colour the channels edit, and the other one.
    Rgb edited() const { return editsText_ ? text_ : background_; }
    Rgb other() const { return editsText_ ? background_ : text_; }

    // Each raises `changed` once, and only when the value really changes.
    void setText(Rgb colour);
    void setBackground(Rgb colour);
    void setEditsText(bool editsText);

signals:
    // Observers hear it in the order they connected; the sample label is the first.
    void changed(pigmora::SamplePair::Parts what);

private:
    Rgb text_;
    Rgb background_;
    bool editsText_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SamplePair::Parts)

} // namespace pigmora
