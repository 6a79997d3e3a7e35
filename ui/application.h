#pragma once

// The application object: owns the program's windows, runs the event loop, and shows every
// failure that leaves an event handler in the standard error box, after which the program
// goes on in the state the handler left.

#include "platform/errors.h"

#include <QApplication>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class TApplication final : public QApplication {
  public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;
    Q_DISABLE_COPY_MOVE(TApplication)

    void Initialize();

    // Creates a window of class T owned by the application and stores it in `reference`.
    // The first window created is the main window; closing it ends Run. When the
    // constructor fails the reference stays null and the failure propagates.
    template <class T> void CreateForm(T *&reference)
    {
        reference = nullptr;
        auto form = std::make_unique<T>();
        reference = form.get();
        adopt(std::move(form));
    }

    // Shows the main window and processes events until it is closed; then destroys every
    // window, last created first.
    void Run();

    // Ends the event loop once the current event has been handled.
    void Terminate();

    // The standard error box: the message, with a full stop added when its last character
    // sorts after '.', the application's title as caption, a stop icon and one OK button.
    void ShowException(const platform::Exception &exception);

    // The caption of the error box: the executable's name without folder.
    QString Title() const;

    QWidget *MainForm() const { return m_forms.empty() ? nullptr : m_forms.front().get(); }

    bool notify(QObject *receiver, QEvent *event) override;

  private:
    void adopt(std::unique_ptr<QWidget> form);
    void destroyForms();

    std::vector<std::unique_ptr<QWidget>> m_forms;
};

// The one application object, set while it exists.
extern TApplication *Application;

// When the window is first shown: its present size becomes its outer size, frame included,
// and it is placed at the centre of its screen.
void CentreOnScreen(QWidget *window);

// The text the error box shows for a message (UTF-8).
QString ErrorBoxText(const std::string &message);

// Runs the start-up steps with the program entry's two last-resort clauses: a platform
// Exception is shown by ShowException, anything else as an Exception with an empty message.
// Nothing escapes.
void RunGuarded(const std::function<void()> &startUp);

} // namespace ui
