#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zentrail::ui {

// The program's own pictures, shipped as resources: "about", "background", "zentrail" (the
// icon) and the tree's node pictures "node-open", "node-close", "node-form", "node-repo".
QPixmap Picture(const QString& name);
QIcon ProgramIcon();

}  // namespace zentrail::ui
