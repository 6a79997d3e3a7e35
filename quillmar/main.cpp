#include "about/about_box.h"
#include "document_fonts.h"
#include "main_form.h"
#include "ui/application.h"

#include <QIcon>

int main(int argc, char *argv[])
{
    ui::TApplication application(argc, argv);
    // Wayland shows the window's icon from the desktop entry of this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRANO_APP_ID));
    quillmar::SubstituteDocumentFonts();
    application.setWindowIcon(QIcon(QStringLiteral(":/quillmar/images/program_icon.png")));
    ui::RunGuarded([] {
        ui::Application->Initialize();
        ui::Application->CreateForm(quillmar::Form1);
        ui::Application->CreateForm(about::AboutBox);
        ui::Application->Run();
    });
    return 0;
}
