#include "application.h"

#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

namespace ui {

TApplication *Application = nullptr;

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
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

namespace {

// Keeps a window's outer size, frame included, and centres it when it is first shown. The
// frame's size is known only then, or, under some window managers, a moment later.
class ScreenCentrePlacer final : public QObject {
  public:
    ScreenCentrePlacer(QWidget *window)
        : QObject(window)
        , m_outer(window->size())
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && !m_shown) {
            m_shown = true;
            place(window);
        } else if (event->type() == QEvent::Move && m_shown && !m_settled) {
            place(window);
        }
        return false;
    }

  private:
    void place(QWidget *window)
    {
        const QMargins frame =
            window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
        if (frame == m_applied && m_placedOnce)
            return;
        m_placedOnce = true;
        m_applied = frame;
        m_settled = !frame.isNull();
        window->resize(m_outer.width() - frame.left() - frame.right(),
                       m_outer.height() - frame.top() - frame.bottom());
        QRect outer(QPoint(0, 0), m_outer);
        if (const QScreen *screen = window->screen())
            outer.moveCenter(screen->availableGeometry().center());
        window->move(outer.topLeft()); // a window's position is its frame's
    }

    QSize m_outer;
    QMargins m_applied;
    bool m_shown = false;
    bool m_placedOnce = false;
    bool m_settled = false;
};

} // namespace

void CentreOnScreen(QWidget *window)
{
    window->installEventFilter(new ScreenCentrePlacer(window));
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
