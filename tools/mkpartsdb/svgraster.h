#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

class QSvgRenderer;

namespace mkparts {

// Renders `viewBox` of the document (the whole view box when null) into a transparent
// ARGB32 picture of `size` pixels, without antialiasing: every pixel is either untouched
// or takes exactly a colour of the drawing.
QImage renderAliased(QSvgRenderer& renderer, QSize size, const QRectF& viewBox = QRectF());

}  // namespace mkparts
