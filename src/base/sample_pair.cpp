#include "sample_pair.h"

namespace pigmora {

SamplePair::SamplePair(QObject* parent)
    : QObject(parent) {}

void SamplePair::setText(Rgb colour) {
    if (colour == text_)
        return;
    text_ = colour;
    emit changed(Text);
}

void SamplePair::setBackground(Rgb colour) {
    if (colour == background_)
        return;
    background_ = colour;
    emit changed(Background);
}

void SamplePair::setEditsText(bool editsText) {
    if (editsText == editsText_)
        return;
    editsText_ = editsText;
    emit changed(Target);
}

} // namespace pigmora
