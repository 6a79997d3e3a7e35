#include "application.h"

#include <QEvent>
#include <QMessageBox>
#include <QScreen>

namespace ui {

TApplication *Application = nullptr;

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    Application = this;
    // Only closing the main window ends the run; a closed error box or About box never does.
    setQuitOnLastWindowClosed(false);
}

TApplication::~TApplication()
{
    destroyForms();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    // The layouts name the classic dialog font; show it in a metric-alike that has Cyrillic.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

void TApplication::adopt(std::unique_ptr<QWidget> form)
{
    m_forms.push_back(std::move(form));
}

void TApplication::destroyForms()
{
    while (!m_forms.empty())
        m_forms.pop_back();
}

void TApplication::Run()
{
    if (QWidget *main = MainForm()) {
        // Centred on the desktop, frame included, when first shown.
        QRect frame(QPoint(0, 0), main->size());
        if (const QScreen *screen = main->screen())
            frame.moveCenter(screen->availableGeometry().center());
        main->move(frame.topLeft());
        main->show();
        exec();
    }
    destroyForms();
}

void TApplication::Terminate()
{
    quit();
}

QString TApplication::Title() const
{
    return applicationName();
}

QString ErrorBoxText(const std::string &message)
{
    QString text = QString::fromStdString(message);
    // Compared by code point: any letter, digit or non-ASCII character gets its full stop.
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    return text;
}

void TApplication::ShowException(const platform::Exception &exception)
{
    QMessageBox box(QMessageBox::Critical, Title(), ErrorBoxText(exception.Message()),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        const bool handled = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Close && event->isAccepted() && receiver == MainForm())
            Terminate();
        return handled;
    } catch (const platform::Exception &exception) {
        ShowException(exception);
    } catch (...) {
        ShowException(platform::Exception(std::string()));
    }
    return false;
}

void RunGuarded(const std::function<void()> &startUp)
{
    try {
        startUp();
    } catch (const platform::Exception &exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->ShowException(platform::Exception(std::string()));
    }
}

} // namespace ui
