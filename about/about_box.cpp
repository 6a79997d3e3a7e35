#include "about_box.h"

#include "ui_about_box.h"

#include "ui/jpeg_image.h"

#include <QKeyEvent>

namespace about {

TAboutBox *AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TAboutBox>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    // Labels size themselves to their text from where the layout puts them.
    for (QLabel *label : m_ui->Panel1->findChildren<QLabel *>())
        label->adjustSize();
    m_ui->ProgramIcon->SetPicture(
        ui::TJPEGImage::LoadFromFile(QStringLiteral(":/about/logo.jpg")).Image());
    connect(m_ui->OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

TAboutBox::~TAboutBox() = default;

int TAboutBox::ShowModal()
{
    setResult(0);
    return exec();
}

void TAboutBox::OKButtonClick()
{
    done(m_ui->OKButton->property("modalResult").toInt());
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace about
