#pragma once

#include <QWidget>

namespace zelvar {

// The start-up window (frmSplash): product name, version and picture.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);
};

} // namespace zelvar
