#pragma once

#include <QIcon>
#include <QPixmap>

namespace zelvar {

// The application's picture: an efficient frontier spanned by three units,
// with inefficient units beneath it. The same drawing as the installed
// resources/zelvar.svg, painted here so the program needs no SVG support.
struct AppIcon {
    [[nodiscard]] static QPixmap pixmap(int size);
    [[nodiscard]] static QIcon icon();
};

} // namespace zelvar
