#include "ui/pictures.h"

namespace zentrail::ui {

QPixmap Picture(const QString& name) {
    QPixmap picture(QStringLiteral(":/pictures/%1.png").arg(name));
    Q_ASSERT(!picture.isNull());
    return picture;
}

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(Picture("zentrail-64"));
    icon.addPixmap(Picture("zentrail-256"));
    return icon;
}

}  // namespace zentrail::ui
