#pragma once
// JPEG decoding with libjpeg, called directly.

#include <QByteArray>
#include <QImage>

namespace qivara::ui {

// Decodes a baseline or progressive JPEG held in memory into an RGB image; a null image when the
// data is not a JPEG libjpeg can read.
QImage DecodeJpeg(const QByteArray& data);

}  // namespace qivara::ui
