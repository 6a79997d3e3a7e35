// TRichEdit as the main window uses it: loading through Lines(), failures and what they leave
// behind, and how it behaves for the user (read-only, selectable, scroll bar, white page).

#include "rtf/document_checks.h"
#include "support/temp_drive.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "ui/rich_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <filesystem>
#include <memory>
#include <string>

namespace {

const std::string kWorkingFile = "c:\\MORVANTELIKS\\r.rtf";

const QByteArray kShortRtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f1\\fcharset204 Arial;}}"
                             "\\f1\\fs20 \\'c4\\'ee\\'e3\\'ee\\'e2\\'ee\\'f0\\par}";

QByteArray longRtf(int paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f1\\fcharset204 Arial;}}\\f1\\fs20 ";
    for (int i = 0; i < paragraphs; ++i)
        rtf += "\\'d1\\'f2\\'f0\\'ee\\'ea\\'e0 " + QByteArray::number(i) + "\\par ";
    return rtf + "}";
}

// Descriptors of this process that point at `file`.
int openDescriptorsOn(const std::filesystem::path &file)
{
    int count = 0;
    const std::filesystem::path target = std::filesystem::weakly_canonical(file);
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto link = std::filesystem::read_symlink(entry.path(), error);
        if (!error && link == target)
            ++count;
    }
    return count;
}

// Lays the document out completely at the viewer's current width.
void layOut(ui::TRichEdit &viewer)
{
    QCoreApplication::processEvents();
    viewer.document()->documentLayout()->documentSize();
    QCoreApplication::processEvents();
}

} // namespace

class RichEditTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void loadsRtfAndReplacesTheWholeContent();
    void showsOtherDataAsPlainText_data();
    void showsOtherDataAsPlainText();
    void fileThatCannotBeOpened_data();
    void fileThatCannotBeOpened();
    void readThatFailsPartWay();
    void releasesTheFileAndTheOldDocument();
    void clearEmpties();
    void readOnlyButSelectableAndCopyable();
    void scrollBarAlwaysShownEnabledOnlyWhenNeeded_data();
    void scrollBarAlwaysShownEnabledOnlyWhenNeeded();
    void whitePageUnderADarkTheme();
    void wrapsWords();
    void showsEveryDocument_data();
    void showsEveryDocument();

private:
    void writeWorkingFile(const QByteArray &bytes);

    std::unique_ptr<testing_support::TempDrive> m_drive;
    std::unique_ptr<ui::TRichEdit> m_viewer;
};

void RichEditTest::init()
{
    m_drive = std::make_unique<testing_support::TempDrive>();
    std::filesystem::create_directories(m_drive->WorkingFolder());
    m_viewer = std::make_unique<ui::TRichEdit>();
    m_viewer->resize(600, 400);
    m_viewer->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_viewer.get()));
}

void RichEditTest::cleanup()
{
    m_viewer.reset();
    m_drive.reset();
}

void RichEditTest::writeWorkingFile(const QByteArray &bytes)
{
    testing_support::WriteBytes(
        m_drive->WorkingFile(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void RichEditTest::loadsRtfAndReplacesTheWholeContent()
{
    writeWorkingFile(kShortRtf);
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    QCOMPARE(m_viewer->toPlainText(), QStringLiteral("Договор"));

    writeWorkingFile("{\\rtf1\\ansi second\\par third\\par}");
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    QCOMPARE(m_viewer->toPlainText(), QStringLiteral("second\nthird"));
}

void RichEditTest::showsOtherDataAsPlainText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("code page 1251")
        << QByteArray("\xc4\xee\xe3\xee\xe2\xee\xf0\r\n\xb9 1") << QStringLiteral("Договор\n№ 1");
    QTest::newRow("space before the header")
        << QByteArray(" {\\rtf1 x}") << QStringLiteral(" {\\rtf1 x}");
    QTest::newRow("capital header") << QByteArray("{\\RTF1 x}") << QStringLiteral("{\\RTF1 x}");
    QTest::newRow("cut-off header") << QByteArray("{\\rt") << QStringLiteral("{\\rt");
    QTest::newRow("empty file") << QByteArray() << QString();
}

void RichEditTest::showsOtherDataAsPlainText()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    writeWorkingFile(data);
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    QCOMPARE(m_viewer->toPlainText(), text);
}

void RichEditTest::fileThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("path"); // UTF-8 Windows path, given as is
    QTest::newRow("missing file") << QStringLiteral("c:\\MORVANTELIKS\\r.rtf");
    QTest::newRow("missing folder") << QStringLiteral("C:\\nowhere\\договор.rtf");
    QTest::newRow("a folder") << QStringLiteral("c:\\MORVANTELIKS");
    QTest::newRow("other drive") << QStringLiteral("d:\\r.rtf");
}

void RichEditTest::fileThatCannotBeOpened()
{
    QFETCH(QString, path);
    writeWorkingFile(kShortRtf);
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    std::filesystem::remove(m_drive->WorkingFile());

    const std::string utf8 = path.toStdString();
    try {
        m_viewer->Lines()->LoadFromFile(utf8);
        QFAIL("no exception");
    } catch (const platform::EFOpenError &error) {
        QCOMPARE(QString::fromStdString(error.Message()),
                 QStringLiteral("Cannot open file ") + path);
    }
    QCOMPARE(m_viewer->toPlainText(), QStringLiteral("Договор")); // what it showed before
}

void RichEditTest::readThatFailsPartWay()
{
    writeWorkingFile(kShortRtf);
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    // Opens as a regular file, then every read fails.
    std::filesystem::create_symlink("/proc/self/mem", m_drive->WorkingFolder() / "broken.rtf");
    try {
        m_viewer->Lines()->LoadFromFile("c:\\MORVANTELIKS\\broken.rtf");
        QFAIL("no exception");
    } catch (const platform::EOutOfResources &error) {
        QCOMPARE(QString::fromStdString(error.Message()), QStringLiteral("Failed to Load Stream"));
    }
    QCOMPARE(m_viewer->toPlainText(), QStringLiteral("Договор"));
}

void RichEditTest::releasesTheFileAndTheOldDocument()
{
    writeWorkingFile(kShortRtf);
    const QPointer<QTextDocument> first = m_viewer->document();
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    QCOMPARE(openDescriptorsOn(m_drive->WorkingFile()), 0);
    QVERIFY(first.isNull());

    // The hand-off renames the shown file and Exit deletes it: both work at once.
    const QPointer<QTextDocument> second = m_viewer->document();
    QVERIFY(std::filesystem::exists(m_drive->WorkingFile()));
    std::filesystem::rename(m_drive->WorkingFile(), m_drive->WorkingFolder() / "moved.rtf");
    m_viewer->Lines()->Clear();
    QVERIFY(second.isNull());
    QCOMPARE(m_viewer->findChildren<QTextDocument *>().size(), 1);
}

void RichEditTest::clearEmpties()
{
    writeWorkingFile(longRtf(200));
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    m_viewer->Lines()->Clear();
    QVERIFY(m_viewer->document()->isEmpty());
    QCOMPARE(m_viewer->toPlainText(), QString());
}

void RichEditTest::readOnlyButSelectableAndCopyable()
{
    writeWorkingFile(kShortRtf);
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    QVERIFY(m_viewer->isReadOnly());
    m_viewer->setFocus();
    QTest::keyClicks(m_viewer.get(), QStringLiteral("xyz"));
    QTest::keyClick(m_viewer.get(), Qt::Key_Delete);
    QTest::keyClick(m_viewer.get(), Qt::Key_Backspace);
    QCOMPARE(m_viewer->toPlainText(), QStringLiteral("Договор"));

    // Keyboard: select three characters and copy them.
    QTest::keyClick(m_viewer.get(), Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_viewer.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_viewer->textCursor().selectedText(), QStringLiteral("Дог"));
    QApplication::clipboard()->clear();
    QTest::keySequence(m_viewer.get(), QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Дог"));

    // Mouse: drag across the first line (starting outside the selection, which would drag it).
    QTest::keyClick(m_viewer.get(), Qt::Key_End, Qt::ControlModifier);
    layOut(*m_viewer);
    const QRect line = m_viewer->cursorRect(QTextCursor(m_viewer->document()->firstBlock()));
    QWidget *viewport = m_viewer->viewport();
    const QPointF from(line.left() + 1, line.center().y());
    const QPointF to = from + QPointF(300, 0);
    auto send = [viewport](QEvent::Type type, QPointF at, Qt::MouseButton button,
                           Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_viewer->textCursor().selectedText(), QStringLiteral("Договор"));
}

void RichEditTest::scrollBarAlwaysShownEnabledOnlyWhenNeeded_data()
{
    QTest::addColumn<QString>("style");
    QTest::newRow("default style") << QString();
    QTest::newRow("Fusion") << QStringLiteral("Fusion");
}

void RichEditTest::scrollBarAlwaysShownEnabledOnlyWhenNeeded()
{
    QFETCH(QString, style);
    std::unique_ptr<QStyle> owned;
    if (!style.isEmpty()) {
        owned.reset(QStyleFactory::create(style));
        QVERIFY(owned != nullptr);
        m_viewer->setStyle(owned.get());
        m_viewer->verticalScrollBar()->setStyle(owned.get());
    }
    QScrollBar *bar = m_viewer->verticalScrollBar();
    QVERIFY(bar->isVisible());
    QVERIFY(!bar->isEnabled()); // empty

    writeWorkingFile(kShortRtf);
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    layOut(*m_viewer);
    QVERIFY(bar->isVisible());
    QVERIFY(!bar->isEnabled());

    writeWorkingFile(longRtf(300));
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    layOut(*m_viewer);
    QTRY_VERIFY(bar->maximum() > 0);
    QVERIFY(bar->isEnabled());

    m_viewer->Lines()->Clear();
    layOut(*m_viewer);
    QTRY_VERIFY(!bar->isEnabled());
    QVERIFY(bar->isVisible());
    m_viewer->setStyle(nullptr);
    bar->setStyle(nullptr);
}

void RichEditTest::whitePageUnderADarkTheme()
{
    QPalette dark;
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::Text, Qt::white);
    const QPalette previous = QApplication::palette();
    QApplication::setPalette(dark);
    ui::TRichEdit viewer;
    viewer.resize(300, 200);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(viewer.viewport()->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(viewer.palette().color(QPalette::Text), QColor(Qt::black));
    const QImage page = viewer.viewport()->grab().toImage();
    QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 2), QColor(Qt::white));
    QApplication::setPalette(previous);
}

void RichEditTest::wrapsWords()
{
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 100; ++i)
        rtf += "word ";
    writeWorkingFile(rtf + "\\par}");
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    layOut(*m_viewer);
    const QTextBlock block = m_viewer->document()->firstBlock();
    QVERIFY(block.layout()->lineCount() > 3);
    for (int i = 0; i + 1 < block.layout()->lineCount(); ++i) {
        const QTextLine line = block.layout()->lineAt(i);
        QVERIFY2(block.text().at(line.textStart() + line.textLength() - 1) == u' ',
                 "a line broke inside a word");
    }
}

void RichEditTest::showsEveryDocument_data()
{
    QTest::addColumn<QString>("file");
    for (const auto &document : document_checks::PresentDocuments(VELTRANO_DOCUMENTS_DIR))
        QTest::newRow(qPrintable(QStringLiteral("DOC_%1").arg(document.number)))
            << QString::fromStdString(document.rtf.string());
    if (document_checks::PresentDocuments(VELTRANO_DOCUMENTS_DIR).empty())
        QTest::newRow("none yet") << QString();
}

void RichEditTest::showsEveryDocument()
{
    QFETCH(QString, file);
    if (file.isEmpty())
        QSKIP("no documents generated yet");
    const std::filesystem::path rtfPath = file.toStdString();
    const std::string rtf = document_checks::ReadFile(rtfPath);
    std::filesystem::copy_file(rtfPath, m_drive->WorkingFile());
    m_viewer->Lines()->LoadFromFile(kWorkingFile);
    layOut(*m_viewer);

    const std::string text = m_viewer->document()->toRawText().toStdString();
    std::filesystem::path source = rtfPath;
    source.replace_extension(".txt");
    QCOMPARE(std::size_t(std::count(text.begin(), text.end(), '?')),
             document_checks::QuestionMarksInSource(document_checks::ReadFile(source)));
    QVERIFY(document_checks::CountInRange(text, U'\u0410', U'\u044F') > 200);
    QCOMPARE(document_checks::CountInRange(text, U'\u00C0', U'\u00FF'), std::size_t(0));
    QVERIFY(document_checks::LongestHexRun(text) < 40);
    for (const std::string &name : document_checks::InvisibleStrings(rtf))
        QVERIFY2(text.find(name) == std::string::npos, name.c_str());
}

QTEST_MAIN(RichEditTest)
#include "rich_edit_test.moc"
