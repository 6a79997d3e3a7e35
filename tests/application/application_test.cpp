// The application object: the error box, failures leaving event handlers, the program
// entry's last-resort clauses, and the run ending with the main window.

#include "platform/errors.h"
#include "support/modal.h"
#include "ui/application.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

using testing_support::WhenModalShown;

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    int buttons;
};

// Answers every error box that comes up, recording each.
void answerErrorBoxes(QList<SeenBox> &seen, int count)
{
    if (count == 0)
        return;
    WhenModalShown([&seen, count](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen.push_back(
                {box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())});
            answerErrorBoxes(seen, count - 1);
            box->button(QMessageBox::Ok)->click();
        }
    });
}

// An object whose event handler throws what it is told to.
class Thrower final : public QObject {
  public:
    std::function<void()> toThrow;
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            toThrow();
        return QObject::event(event);
    }
};

class FailingForm final : public QWidget {
  public:
    FailingForm() { throw platform::EResNotFound("MAINICON"); }
};

class OddlyFailingForm final : public QWidget {
  public:
    OddlyFailingForm() { throw 42; }
};

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            windows << widget;
    return windows;
}

} // namespace

class ApplicationTest final : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void errorBoxText_data();
    void errorBoxText();
    void failureInAHandlerIsShownAndTheProgramGoesOn_data();
    void failureInAHandlerIsShownAndTheProgramGoesOn();
    void failureWhileBuildingTheMainWindow_data();
    void failureWhileBuildingTheMainWindow();
    void closingTheMainWindowEndsTheRun();
};

void ApplicationTest::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Stream write error"
                            << "Stream write error.";
    QTest::newRow("path") << "Cannot create file c:\\MORVANTELIKS\\r.rtf"
                          << "Cannot create file c:\\MORVANTELIKS\\r.rtf.";
    QTest::newRow("digit") << "JPEG error 7"
                           << "JPEG error 7.";
    QTest::newRow("cyrillic") << "Файл не найден"
                              << "Файл не найден.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("parenthesis") << "(none)"
                                 << "(none)";
    QTest::newRow("hyphen") << "a-"
                            << "a-";
    QTest::newRow("slash") << "c:/"
                           << "c:/.";
    QTest::newRow("empty") << ""
                           << "";
}

void ApplicationTest::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ui::ErrorBoxText(message.toStdString()), shown);
}

void ApplicationTest::failureInAHandlerIsShownAndTheProgramGoesOn_data()
{
    QTest::addColumn<std::function<void()>>("toThrow");
    QTest::addColumn<QString>("shown");
    QTest::newRow("class library error")
        << std::function<void()>([] { throw platform::EWriteError(); }) << "Stream write error.";
    QTest::newRow("anything else")
        << std::function<void()>([] { throw std::runtime_error("hidden"); }) << "";
}

void ApplicationTest::failureInAHandlerIsShownAndTheProgramGoesOn()
{
    QFETCH(std::function<void()>, toThrow);
    QFETCH(QString, shown);
    Thrower thrower;
    thrower.toThrow = toThrow;
    QList<SeenBox> seen;
    answerErrorBoxes(seen, 2);
    QEvent event(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
    QCoreApplication::sendEvent(&thrower, &event); // and again: the program went on
    QTRY_COMPARE(seen.size(), 2);
    for (const SeenBox &box : seen) {
        QCOMPARE(box.text, shown);
        QCOMPARE(box.caption, QStringLiteral("application_tests"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, 1);
    }
}

void ApplicationTest::failureWhileBuildingTheMainWindow_data()
{
    QTest::addColumn<bool>("classLibraryError");
    QTest::addColumn<QString>("shown");
    QTest::newRow("class library error") << true << "Resource MAINICON not found.";
    QTest::newRow("anything else") << false << "";
}

void ApplicationTest::failureWhileBuildingTheMainWindow()
{
    QFETCH(bool, classLibraryError);
    QFETCH(QString, shown);
    QList<SeenBox> seen;
    answerErrorBoxes(seen, 2);
    FailingForm *form = reinterpret_cast<FailingForm *>(0x1);
    OddlyFailingForm *oddForm = reinterpret_cast<OddlyFailingForm *>(0x1);
    bool ran = false;
    ui::RunGuarded([&] {
        if (classLibraryError)
            ui::Application->CreateForm(form);
        else
            ui::Application->CreateForm(oddForm);
        ran = true;
        ui::Application->Run();
    });
    QTest::qWait(100); // a second box would have come up by now
    QVERIFY(!ran);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, shown);
    QCOMPARE(form, classLibraryError ? nullptr : form);
    QCOMPARE(oddForm, classLibraryError ? oddForm : nullptr);
    QCOMPARE(visibleWindows(), QList<QWidget *>{});
    QCOMPARE(ui::Application->MainForm(), nullptr);
}

void ApplicationTest::closingTheMainWindowEndsTheRun()
{
    QWidget *main = nullptr;
    QWidget *second = nullptr;
    QPointer<QWidget> mainGuard, secondGuard;
    bool mainShown = false;
    ui::RunGuarded([&] {
        ui::Application->CreateForm(main);
        ui::Application->CreateForm(second);
        mainGuard = main;
        secondGuard = second;
        QCOMPARE(ui::Application->MainForm(), main);
        QTimer::singleShot(50, [&] {
            mainShown = main->isVisible() && !second->isVisible();
            second->show();
            second->close(); // another window closing ends nothing
            QTimer::singleShot(50, [&] { main->close(); });
        });
        ui::Application->Run();
    });
    QVERIFY(mainShown);
    // Run has returned and destroyed both windows.
    QVERIFY(mainGuard.isNull());
    QVERIFY(secondGuard.isNull());
}

int main(int argc, char *argv[])
{
    ui::TApplication application(argc, argv);
    application.Initialize();
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
