#pragma once

#include <QDialog>

namespace zelvar {

// The about box (frmAbout), captioned with the application title and "-Info".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
};

} // namespace zelvar
