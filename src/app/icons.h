#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace app {

// The toolbar pictures, drawn here rather than loaded: one for each part toolbar key and
// each file toolbar key. An unknown key gives an empty icon.
QIcon partButtonIcon(const QString& key);
QIcon fileButtonIcon(const QString& key);
QIcon applicationIcon();

// One picture `size` pixels square; a null image for an unknown key.
QImage drawButtonPicture(const QString& key, int size);

}  // namespace app
