#pragma once

#include <QFileDevice>
#include <QString>

namespace pigmora {

// Why reading or writing a file failed, as a German sentence: for the C library's error
// number, or, where the system gave none (0), for Qt's kind of failure. Never the C library's
// own text, which comes in the system's language or as "Unknown error".
QString fileErrorReason(int errorNumber, QFileDevice::FileError kind = QFileDevice::NoError);

} // namespace pigmora
