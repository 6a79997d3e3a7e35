// The main window as a person meets it: its layout, the catalogue tree, showing documents,
// the error box, Send to Word, About and Exit. Documents are small fixtures embedded as
// DOC_1..DOC_4 and DOC_70.

#include "about/about_box.h"
#include "handoff/send_to_word.h"
#include "library/catalogue.h"
#include "quillmar/main_form.h"
#include "support/modal.h"
#include "support/recording_opener.h"
#include "support/temp_drive.h"
#include "ui/application.h"
#include "ui/image_list.h"
#include "ui/panel.h"
#include "ui/rich_edit.h"
#include "ui/tree_view.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <filesystem>
#include <memory>
#include <optional>

namespace fs = std::filesystem;
using quillmar::TForm1;
using testing_support::ReadBytes;
using testing_support::WhenModalShown;

namespace {

QString fixture(int n)
{
    return QStringLiteral(FIXTURES_DIR "/doc%1.rtf").arg(n);
}

std::string fixtureBytes(int n)
{
    return ReadBytes(fixture(n).toStdString());
}

// What an error box showed, answered with its OK button.
struct ErrorBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

void answerNextErrorBox(std::optional<ErrorBox> &seen)
{
    WhenModalShown([&seen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        seen = ErrorBox{box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())};
        box->button(QMessageBox::Ok)->click();
    });
}

} // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void windowAndMenu();
    void firstShowing();
    void tabOrder();
    void resizingKeepsTheTreeWidth_data();
    void resizingKeepsTheTreeWidth();
    void pictures();
    void treeHoldsTheCatalogue();
    void absoluteIndexIgnoresExpansion();
    void focusAloneSelectsNothing();
    void keyboardMovesRewriteTheWorkingFile();
    void mouseSelectsAndCtrlClickKeepsTheSelection();
    void headingEmptiesTheViewer();
    void removedWorkingFolderShowsTheErrorAndKeepsTheViewer();
    void cutOffTitlesShowWholeInATooltip();
    void selectionIsHiddenWithoutFocus();
    void sendToWordFromButtonAndMenu();
    void sendToWordWithNothingSelected();
    void aboutFromMenuAndButtonShowsTheOneBox();
    void exitDeletesOnlyTheWorkingFile();

  private:
    ui::TTreeView *tree() const
    {
        return m_form->findChild<ui::TTreeView *>(QStringLiteral("TreeView1"));
    }
    ui::TRichEdit *viewer() const
    {
        return m_form->findChild<ui::TRichEdit *>(QStringLiteral("RichEdit1"));
    }
    QAction *action(const char *name) const
    {
        return m_form->findChild<QAction *>(QLatin1String(name));
    }
    ui::TTreeNode *node(int top, int child = -1) const
    {
        QTreeWidgetItem *item = tree()->topLevelItem(top);
        return static_cast<ui::TTreeNode *>(child < 0 ? item : item->child(child));
    }
    void showAndFocus()
    {
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        tree()->setFocus();
        QTRY_VERIFY(tree()->hasFocus());
    }
    // Selects the first document with the keyboard, as a person would.
    void selectFirstDocument()
    {
        QTest::keyClick(tree(), Qt::Key_Home);
        QTest::keyClick(tree(), Qt::Key_Right);
        QTest::keyClick(tree(), Qt::Key_Down);
        QCOMPARE(tree()->Selected(), node(0, 0));
    }
    QPoint centreOf(QTreeWidgetItem *item) const { return tree()->visualItemRect(item).center(); }

    std::unique_ptr<testing_support::TempDrive> m_drive;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<about::TAboutBox> m_about;
};

void MainWindowTest::init()
{
    m_drive = std::make_unique<testing_support::TempDrive>();
    m_form = std::make_unique<TForm1>();
    m_about = std::make_unique<about::TAboutBox>();
    quillmar::Form1 = m_form.get();
    about::AboutBox = m_about.get();
}

void MainWindowTest::cleanup()
{
    quillmar::Form1 = nullptr;
    about::AboutBox = nullptr;
    m_about.reset();
    m_form.reset();
    m_drive.reset();
}

void MainWindowTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry"); // in the parent; -1 where the window's size decides

    QTest::newRow("tool bar") << "ToolBar1"
                              << "ui::TToolBar"
                              << "ClientArea" << QRect(0, 0, -1, 42);
    QTest::newRow("separator 4") << "ToolButton4"
                                 << "QWidget"
                                 << "ToolBar1" << QRect(0, 2, 8, 38);
    QTest::newRow("send button") << "ToolButton5"
                                 << "QToolButton"
                                 << "ToolBar1" << QRect(8, 2, 39, 38);
    QTest::newRow("separator 6") << "ToolButton6"
                                 << "QWidget"
                                 << "ToolBar1" << QRect(47, 2, 8, 38);
    QTest::newRow("about button") << "ToolButton7"
                                  << "QToolButton"
                                  << "ToolBar1" << QRect(55, 2, 39, 38);
    QTest::newRow("panel") << "Panel1"
                           << "ui::TPanel"
                           << "ClientArea" << QRect(0, 42, 225, -1);
    // The tree fills the panel inside its two-pixel border and one-pixel bevel.
    QTest::newRow("tree") << "TreeView1"
                          << "ui::TTreeView"
                          << "Panel1" << QRect(3, 3, 219, -1);
    QTest::newRow("page control") << "PageControl1"
                                  << "QTabWidget"
                                  << "ClientArea" << QRect(225, 42, -1, -1);
    QTest::newRow("viewer") << "RichEdit1"
                            << "ui::TRichEdit"
                            << "TabSheet1" << QRect(0, 0, -1, -1);
}

void MainWindowTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    auto *widget = m_form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    const QRect actual = widget->geometry();
    QCOMPARE(actual.x(), geometry.x());
    QCOMPARE(actual.y(), geometry.y());
    if (geometry.width() >= 0)
        QCOMPARE(actual.width(), geometry.width());
    if (geometry.height() >= 0)
        QCOMPARE(actual.height(), geometry.height());
}

void MainWindowTest::windowAndMenu()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Veltrano"));
    QCOMPARE(m_form->size(), QSize(959, 704));
    QCOMPARE(m_form->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(m_form->font().pointSize(), 8);
    QVERIFY(m_form->windowFlags() & Qt::WindowMinMaxButtonsHint);

    // Three menus of one command each, no shortcut, no mnemonic, all enabled.
    const QList<QAction *> menus = m_form->menuBar()->actions();
    QStringList seen;
    for (QAction *menu : menus) {
        QVERIFY(menu->menu());
        QCOMPARE(menu->menu()->actions().size(), 1);
        QAction *command = menu->menu()->actions().first();
        seen << menu->menu()->objectName() + QLatin1Char('/') + menu->text() + QLatin1Char('/')
                    + command->objectName() + QLatin1Char('/') + command->text();
        QVERIFY(command->shortcut().isEmpty());
        QVERIFY(!menu->text().contains(QLatin1Char('&'))
                && !command->text().contains(QLatin1Char('&')));
        QVERIFY(command->isEnabled());
    }
    QCOMPARE(seen, QStringList({QStringLiteral("File1/File/Find1/Exit"),
                                QStringLiteral("Tools1/Tools/SendtoWord1/Send to Word"),
                                QStringLiteral("Help1/Help/About1/About")}));

    // One page with a blank tab; image-only tool buttons that take no focus.
    auto *pages = m_form->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(pages->count(), 1);
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    QCOMPARE(pages->tabText(0), QString());
    for (const char *name : {"ToolButton5", "ToolButton7"}) {
        auto *button = m_form->findChild<QToolButton *>(QLatin1String(name));
        QVERIFY(button->text().isEmpty() && button->toolTip().isEmpty());
        QVERIFY(!button->icon().isNull());
        QVERIFY(!button->autoRaise());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->accessibleName().isEmpty());
    }
    QVERIFY(!tree()->accessibleName().isEmpty());
    QVERIFY(!viewer()->accessibleName().isEmpty());
    QVERIFY(viewer()->isReadOnly());
}

void MainWindowTest::firstShowing()
{
    showAndFocus();
    QCOMPARE(viewer()->toPlainText(), QString()); // the placeholder line is gone
    QCOMPARE(tree()->Selected(), nullptr);
    for (int i = 0; i < 3; ++i)
        QVERIFY(!node(i)->isExpanded());
    QVERIFY(fs::is_directory(m_drive->WorkingFolder()));
    QCOMPARE(m_form->frameGeometry().size(), QSize(959, 704));
    const QPoint screenCentre = m_form->screen()->availableGeometry().center();
    QVERIFY2((m_form->frameGeometry().center() - screenCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2 %3x%4 vs %5,%6")
                            .arg(m_form->frameGeometry().x())
                            .arg(m_form->frameGeometry().y())
                            .arg(m_form->frameGeometry().width())
                            .arg(m_form->frameGeometry().height())
                            .arg(screenCentre.x())
                            .arg(screenCentre.y())));
}

void MainWindowTest::tabOrder()
{
    showAndFocus();
    auto *tabBar = m_form->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->tabBar();
    const QList<QWidget *> expected{tabBar, viewer(), tree()};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), next);
    }
}

void MainWindowTest::resizingKeepsTheTreeWidth_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(1400, 1000);
    QTest::newRow("smaller") << QSize(600, 400);
}

void MainWindowTest::resizingKeepsTheTreeWidth()
{
    QFETCH(QSize, size);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->resize(size);
    auto *client = m_form->centralWidget();
    auto *toolBar = m_form->findChild<QWidget *>(QStringLiteral("ToolBar1"));
    auto *panel = m_form->findChild<QWidget *>(QStringLiteral("Panel1"));
    auto *pages = m_form->findChild<QWidget *>(QStringLiteral("PageControl1"));
    QTRY_COMPARE(client->width(), size.width());
    QCOMPARE(toolBar->geometry(), QRect(0, 0, client->width(), 42));
    QCOMPARE(panel->geometry(), QRect(0, 42, 225, client->height() - 42));
    QCOMPARE(pages->geometry(), QRect(225, 42, client->width() - 225, client->height() - 42));
}

void MainWindowTest::pictures()
{
    auto *list1 = m_form->findChild<ui::TImageList *>(QStringLiteral("ImageList1"));
    auto *list2 = m_form->findChild<ui::TImageList *>(QStringLiteral("ImageList2"));
    QVERIFY(list1 && list2);
    QCOMPARE(list1->Count(), 8);
    QCOMPARE(list2->Count(), 7);
    for (auto [prefix, count, side] : {std::tuple{"list1", 8, 16}, std::tuple{"list2", 7, 32}}) {
        for (int i = 0; i < count; ++i) {
            const QString base =
                QStringLiteral(":/quillmar/images/%1_%2").arg(QLatin1String(prefix)).arg(i);
            QCOMPARE(QImage(base + QStringLiteral(".png")).size(), QSize(side, side));
            QCOMPARE(QImage(base + QStringLiteral("@2x.png")).size(), QSize(2 * side, 2 * side));
        }
    }
    // The program icon: sixteen colours, nothing transparent, at both scales.
    for (auto [file, side] : {std::pair{":/quillmar/images/program_icon.png", 32},
                              std::pair{":/quillmar/images/program_icon@2x.png", 64}}) {
        const QImage icon(QLatin1String{file});
        QCOMPARE(icon.size(), QSize(side, side));
        QVERIFY(!icon.hasAlphaChannel());
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                colours.insert(icon.pixel(x, y));
        QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    }
    // The tool buttons show images 4 and 5 of the large list.
    const QImage send = m_form->findChild<QToolButton *>(QStringLiteral("ToolButton5"))
                            ->icon()
                            .pixmap(32)
                            .toImage();
    QCOMPARE(send, list2->Icon(4).pixmap(32).toImage());
    const QImage about = m_form->findChild<QToolButton *>(QStringLiteral("ToolButton7"))
                             ->icon()
                             .pixmap(32)
                             .toImage();
    QCOMPARE(about, list2->Icon(5).pixmap(32).toImage());
}

void MainWindowTest::treeHoldsTheCatalogue()
{
    QCOMPARE(tree()->topLevelItemCount(), 3);
    QCOMPARE(node(0)->childCount(), 4);
    QCOMPARE(node(1)->childCount(), 62);
    QCOMPARE(node(2)->childCount(), 4);
    QCOMPARE(tree()->indentation(), 19);
    QVERIFY(tree()->rootIsDecorated());
    QCOMPARE(tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(tree()->selectionMode(), QAbstractItemView::SingleSelection);

    // Every node, in pre-order, carries its catalogue entry's title and image 0.
    const QImage image0 = m_form->findChild<ui::TImageList *>(QStringLiteral("ImageList1"))
                              ->Icon(0)
                              .pixmap(16)
                              .toImage();
    int index = 0;
    for (QTreeWidgetItemIterator it(tree()); *it; ++it, ++index) {
        const auto *treeNode = static_cast<ui::TTreeNode *>(*it);
        const library::CatalogueEntry &entry = library::DocumentCatalogue::At(index);
        QCOMPARE(treeNode->Text(),
                 QString::fromUtf8(entry.Title.data(), qsizetype(entry.Title.size())));
        QCOMPARE(treeNode->parent() == nullptr, entry.Level == 0);
        QCOMPARE(treeNode->icon(0).pixmap(16).toImage(), image0);
        QVERIFY(!(treeNode->flags() & Qt::ItemIsEditable));
    }
    QCOMPARE(index, library::DocumentCatalogue::Count);
}

void MainWindowTest::absoluteIndexIgnoresExpansion()
{
    ui::TTreeNode *last = node(2, 3);
    QCOMPARE(last->Text(), QStringLiteral("соглашение_об_уступке_договора"));
    QCOMPARE(last->AbsoluteIndex(), 72);
    tree()->expandAll();
    QCOMPARE(last->AbsoluteIndex(), 72);
    QCOMPARE(node(1, 14)->Text(), QStringLiteral("договор_дарения"));
    QCOMPARE(node(1, 14)->AbsoluteIndex(), 20);
    tree()->collapseItem(node(0));
    QCOMPARE(node(1, 0)->AbsoluteIndex(), 6);
    QCOMPARE(node(2)->AbsoluteIndex(), 68);
    QCOMPARE(node(0)->AbsoluteIndex(), 0);
}

void MainWindowTest::focusAloneSelectsNothing()
{
    QSignalSpy changes(tree(), &ui::TTreeView::Change);
    showAndFocus();
    QTest::qWait(50);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(tree()->Selected(), nullptr);
    QVERIFY(!fs::exists(m_drive->WorkingFile()));
}

void MainWindowTest::keyboardMovesRewriteTheWorkingFile()
{
    showAndFocus();
    QSignalSpy changes(tree(), &ui::TTreeView::Change);
    QTest::keyClick(tree(), Qt::Key_Home);
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(tree(), Qt::Key_Right); // expands: no change of selection
    QCOMPARE(changes.count(), 1);
    const char *words[] = {"alpha", "beta", "gamma", "delta"};
    for (int n = 1; n <= 4; ++n) {
        QTest::keyClick(tree(), Qt::Key_Down);
        QCOMPARE(changes.count(), 1 + n);
        QCOMPARE(ReadBytes(m_drive->WorkingFile()), fixtureBytes(n));
        QVERIFY2(viewer()->toPlainText().contains(QLatin1String(words[n - 1])),
                 qPrintable(viewer()->toPlainText()));
    }
    // Back up one: the same document is written again.
    fs::remove(m_drive->WorkingFile());
    QTest::keyClick(tree(), Qt::Key_Up);
    QCOMPARE(changes.count(), 6);
    QCOMPARE(ReadBytes(m_drive->WorkingFile()), fixtureBytes(3));
}

void MainWindowTest::mouseSelectsAndCtrlClickKeepsTheSelection()
{
    showAndFocus();
    tree()->expandAll();
    tree()->scrollToItem(node(2, 3));
    QSignalSpy changes(tree(), &ui::TTreeView::Change);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, centreOf(node(2, 3)));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(ReadBytes(m_drive->WorkingFile()), fixtureBytes(70));
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, centreOf(node(2, 3)));
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      centreOf(node(2, 3)));
    QTest::keyClick(tree(), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(tree()->Selected(), node(2, 3));
}

void MainWindowTest::headingEmptiesTheViewer()
{
    showAndFocus();
    selectFirstDocument();
    QVERIFY(!viewer()->toPlainText().isEmpty());
    QTest::keyClick(tree(), Qt::Key_Up);
    QCOMPARE(tree()->Selected(), node(0));
    QCOMPARE(viewer()->toPlainText(), QString());
    QCOMPARE(ReadBytes(m_drive->WorkingFile()), fixtureBytes(1));
}

void MainWindowTest::removedWorkingFolderShowsTheErrorAndKeepsTheViewer()
{
    showAndFocus();
    selectFirstDocument();
    const QString shown = viewer()->toPlainText();
    fs::remove_all(m_drive->WorkingFolder());

    std::optional<ErrorBox> seen;
    answerNextErrorBox(seen);
    QTest::keyClick(tree(), Qt::Key_Down);
    QVERIFY(seen);
    QCOMPARE(seen->text, QStringLiteral("Cannot create file c:\\MORVANTELIKS\\r.rtf."));
    QCOMPARE(seen->caption, QCoreApplication::applicationName());
    QCOMPARE(seen->icon, QMessageBox::Critical);
    QCOMPARE(seen->buttons, 1);
    QCOMPARE(viewer()->toPlainText(), shown);
    QCOMPARE(tree()->Selected(), node(0, 1));

    // The window keeps working: a heading still empties the viewer.
    QTest::keyClick(tree(), Qt::Key_Home);
    QCOMPARE(viewer()->toPlainText(), QString());
}

void MainWindowTest::cutOffTitlesShowWholeInATooltip()
{
    showAndFocus();
    tree()->expandAll();
    QTest::qWait(20);
    auto toolTipAt = [this](QTreeWidgetItem *item) -> QString {
        QToolTip::hideText();
        for (int i = 0; i < 100 && QToolTip::isVisible(); ++i)
            QTest::qWait(10);
        const QPoint at = tree()->visualItemRect(item).topLeft() + QPoint(40, 4);
        QHelpEvent help(QEvent::ToolTip, at, tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree()->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QTreeWidgetItem *wide = node(1, 48); // договор_об_оказании_услуг_по_таможенному_декларированию
    QCOMPARE(wide->text(0),
             QStringLiteral("договор_об_оказании_услуг_по_таможенному_декларированию"));
    tree()->scrollToItem(wide);
    QCOMPARE(toolTipAt(wide), wide->text(0));
    QCOMPARE(toolTipAt(node(1, 24)), QString()); // договор_мены fits
    QVERIFY(tree()->horizontalScrollBar()->maximum() > 0);
}

void MainWindowTest::selectionIsHiddenWithoutFocus()
{
    showAndFocus();
    selectFirstDocument();
    const QRect row = tree()->visualItemRect(node(0, 0));
    auto highlighted = [this, row] {
        const QColor highlight =
            tree()->style()->standardPalette().color(QPalette::Active, QPalette::Highlight);
        const QImage shot = tree()->viewport()->grab(row).toImage();
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                count += QColor(shot.pixel(x, y)) == highlight;
        return count;
    };
    QVERIFY(highlighted() > 20);
    viewer()->setFocus();
    QTRY_VERIFY(!tree()->hasFocus());
    QCOMPARE(highlighted(), 0);
    tree()->setFocus();
    QTRY_VERIFY(highlighted() > 20);
}

void MainWindowTest::sendToWordFromButtonAndMenu()
{
    testing_support::RecordingOpener opener(m_drive->Root());
    showAndFocus();
    selectFirstDocument();
    const QString shown = viewer()->toPlainText();
    const fs::path handOff = m_drive->WorkingFolder() / "протокол_разногласий.rtf";

    QTest::mouseClick(m_form->findChild<QToolButton *>(QStringLiteral("ToolButton5")),
                      Qt::LeftButton);
    QVERIFY(!fs::exists(m_drive->WorkingFile()));
    QCOMPARE(ReadBytes(handOff), fixtureBytes(1));
    QCOMPARE(opener.Opened(), std::vector<std::string>{handOff.string()});
    QCOMPARE(viewer()->toPlainText(), shown);

    // Again from the menu: nothing to rename, the same file is opened once more.
    action("SendtoWord1")->trigger();
    QCOMPARE(ReadBytes(handOff), fixtureBytes(1));
    QCOMPARE(opener.Opened(), std::vector<std::string>(2, handOff.string()));
    QCOMPARE(handoff::HandOffPath, std::string());
}

void MainWindowTest::sendToWordWithNothingSelected()
{
    testing_support::RecordingOpener opener(m_drive->Root());
    showAndFocus();
    QVERIFY(action("SendtoWord1")->isEnabled());
    action("SendtoWord1")->trigger();
    QTest::mouseClick(m_form->findChild<QToolButton *>(QStringLiteral("ToolButton5")),
                      Qt::LeftButton);
    QCOMPARE(opener.Opened(), std::vector<std::string>{});
}

void MainWindowTest::aboutFromMenuAndButtonShowsTheOneBox()
{
    showAndFocus();
    QList<QWidget *> shown;
    auto closeWithEnter = [&shown](QWidget *modal) {
        shown << modal;
        QTest::keyClick(modal, Qt::Key_Return);
    };
    WhenModalShown(closeWithEnter);
    action("About1")->trigger();
    WhenModalShown(closeWithEnter);
    QTest::mouseClick(m_form->findChild<QToolButton *>(QStringLiteral("ToolButton7")),
                      Qt::LeftButton);
    QCOMPARE(shown, (QList<QWidget *>{m_about.get(), m_about.get()}));
    QVERIFY(!m_about->isVisible());
    QVERIFY(m_form->isVisible());
}

void MainWindowTest::exitDeletesOnlyTheWorkingFile()
{
    showAndFocus();
    selectFirstDocument();
    const fs::path handOff = m_drive->WorkingFolder() / "договор_мены.rtf";
    testing_support::WriteBytes(handOff, "kept");
    action("Find1")->trigger();
    QVERIFY(!m_form->isVisible());
    QVERIFY(!fs::exists(m_drive->WorkingFile()));
    QVERIFY(fs::is_directory(m_drive->WorkingFolder()));
    QCOMPARE(ReadBytes(handOff), std::string("kept"));

    // With no working file at all, Exit closes without a word.
    m_form->show();
    action("Find1")->trigger();
    QVERIFY(!m_form->isVisible());
}

int main(int argc, char *argv[])
{
    ui::TApplication application(argc, argv);
    application.Initialize();
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
