#pragma once

#include <QDialog>

namespace zentrail::ui {

// The about box: the program's picture, its name and what it does.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
};

}  // namespace zentrail::ui
