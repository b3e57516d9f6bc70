#include "ui/about_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/pictures.h"

namespace zentrail::ui {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Zentrail");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName("picture");
    picture->setPixmap(Picture("about"));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto* text = new QLabel(this);
    text->setObjectName("text");
    text->setAlignment(Qt::AlignCenter);
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral("<h2>Zentrail %1</h2>"
                                 "<p>Transfers the documents of the distributor's database<br>"
                                 "into the Tally accounting server.</p>"
                                 "<p>Made by the Zentrail developers.</p>")
                      .arg(QStringLiteral(ZENTRAIL_VERSION)));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace zentrail::ui
