// The About box: its layout and texts, how it closes, and the logo decoded by libjpeg.

#include "about/about_box.h"
#include "support/modal.h"
#include "ui/application.h"
#include "ui/image.h"
#include "ui/jpeg_image.h"
#include "ui/panel.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using about::TAboutBox;
using testing_support::WhenModalShown;

class AboutBoxTest final : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { m_box = std::make_unique<TAboutBox>(); }
    void cleanup() { m_box.reset(); }

    void form();
    void controls_data();
    void controls();
    void labelsShowTheirWholeText();
    void closing_data();
    void closing();
    void showingTwiceGivesTheSameBox();
    void logoIsTheDecodedJpeg();
    void storedLogoIsABaselineJfifJpeg();
    void corruptJpegRaises_data();
    void corruptJpegRaises();

  private:
    std::unique_ptr<TAboutBox> m_box;
};

void AboutBoxTest::form()
{
    QCOMPARE(m_box->windowTitle(), QStringLiteral("About"));
    QCOMPARE(m_box->size(), QSize(298, 213));
    QCOMPARE(m_box->minimumSize(), m_box->maximumSize()); // fixed
    QVERIFY(
        !(m_box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!m_box->isVisible());
    QCOMPARE(m_box->font().family(), QStringLiteral("MS Sans Serif"));
    auto *panel = m_box->findChild<ui::TPanel *>(QStringLiteral("Panel1"));
    QCOMPARE(panel->bevelInner(), ui::TPanel::Raised);
    QCOMPARE(panel->bevelOuter(), ui::TPanel::Lowered);
    auto *ok = m_box->findChild<QPushButton *>(QStringLiteral("OKButton"));
    QVERIFY(ok->isDefault());
    // OK is the only control that takes the focus.
    for (QWidget *widget : m_box->findChildren<QWidget *>())
        QCOMPARE(widget->focusPolicy() != Qt::NoFocus, widget == ok);
}

void AboutBoxTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("text"); // for labels and the button

    QTest::newRow("panel") << "Panel1"
                           << "AboutBox" << QPoint(8, 8) << QString();
    QTest::newRow("logo") << "ProgramIcon"
                          << "Panel1" << QPoint(8, 8) << QString();
    QTest::newRow("product") << "ProductName"
                             << "Panel1" << QPoint(88, 16) << "Product Name";
    QTest::newRow("product name") << "Label1"
                                  << "Panel1" << QPoint(168, 16) << "Pellavor ";
    QTest::newRow("version") << "Version"
                             << "Panel1" << QPoint(88, 40) << "Version";
    QTest::newRow("version number") << "Label2"
                                    << "Panel1" << QPoint(136, 40) << "1.0";
    QTest::newRow("copyright") << "Copyright"
                               << "Panel1" << QPoint(8, 80) << "Copyright";
    QTest::newRow("publisher") << "Label3"
                               << "Panel1" << QPoint(64, 80) << "ООО «Пелларис»";
    QTest::newRow("comments") << "Comments"
                              << "Panel1" << QPoint(8, 104) << "Comments";
    QTest::newRow("title") << "Label4"
                           << "Panel1" << QPoint(64, 104) << "Veltrano: ";
    QTest::newRow("subtitle 1") << "Label5"
                                << "Panel1" << QPoint(64, 120) << "справочник образцов";
    QTest::newRow("subtitle 2") << "Label6"
                                << "Panel1" << QPoint(64, 136) << "деловых договоров";
    QTest::newRow("ok") << "OKButton"
                        << "AboutBox" << QPoint(111, 180) << "OK";
}

void AboutBoxTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QPoint, position);
    QFETCH(QString, text);
    auto *widget = m_box->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    QCOMPARE(widget->pos(), position);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), text);
        QCOMPARE(button->size(), QSize(75, 25));
    }
    if (name == QLatin1String("Panel1"))
        QCOMPARE(widget->size(), QSize(281, 161));
    if (name == QLatin1String("ProgramIcon")) {
        QCOMPARE(widget->size(), QSize(65, 57));
        QVERIFY(static_cast<ui::TImage *>(widget)->stretch());
    }
}

void AboutBoxTest::labelsShowTheirWholeText()
{
    // Labels size themselves to their text and stay inside the panel.
    auto *panel = m_box->findChild<QWidget *>(QStringLiteral("Panel1"));
    for (QLabel *label : panel->findChildren<QLabel *>()) {
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                 qPrintable(label->objectName()));
        QVERIFY2(panel->rect().contains(label->geometry()), qPrintable(label->objectName()));
    }
}

void AboutBoxTest::closing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expectedResult");
    QTest::newRow("enter") << int(Qt::Key_Return) << 1;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 1;
    QTest::newRow("space on OK") << int(Qt::Key_Space) << 1;
}

void AboutBoxTest::closing()
{
    QFETCH(int, key);
    QFETCH(int, expectedResult);
    bool stillOpenAfterEscape = false;
    WhenModalShown([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        QTest::qWait(20);
        stillOpenAfterEscape = modal->isVisible();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal,
                        Qt::Key(key));
    });
    QCOMPARE(m_box->ShowModal(), expectedResult);
    QVERIFY(stillOpenAfterEscape);
    QVERIFY(!m_box->isVisible());
}

void AboutBoxTest::showingTwiceGivesTheSameBox()
{
    QImage first, second;
    WhenModalShown([&](QWidget *modal) {
        first = modal->grab().toImage();
        modal->close(); // the close box
    });
    QCOMPARE(m_box->ShowModal(), 0);
    WhenModalShown([&](QWidget *modal) {
        second = modal->grab().toImage();
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("OKButton")),
                          Qt::LeftButton);
    });
    QCOMPARE(m_box->ShowModal(), 1);
    QVERIFY(!first.isNull());
    QCOMPARE(second, first);
}

void AboutBoxTest::logoIsTheDecodedJpeg()
{
    const QImage &logo = m_box->findChild<ui::TImage *>(QStringLiteral("ProgramIcon"))->Picture();
    QCOMPARE(logo.size(), QSize(154, 139));
    auto near = [](QRgb pixel, QColor expected) {
        const QColor actual(pixel);
        return std::abs(actual.red() - expected.red()) < 24
               && std::abs(actual.green() - expected.green()) < 24
               && std::abs(actual.blue() - expected.blue()) < 24;
    };
    QVERIFY(near(logo.pixel(2, 2), Qt::white)); // background
    QVERIFY(near(logo.pixel(150, 136), Qt::white));
    // The nib's slit is a dark line down its middle.
    int darkest = 255;
    for (int x = 75; x <= 78; ++x)
        darkest = std::min(darkest, QColor(logo.pixel(x, 90)).lightness());
    QVERIFY2(darkest < 100, qPrintable(QString::number(darkest)));
    QVERIFY(QColor(logo.pixel(72, 90)).lightness() > darkest + 40);
    // Violet dominates somewhere in the fan of sheets and in the lettering.
    int violet = 0;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x) {
            const QColor c(logo.pixel(x, y));
            violet += c.blue() > c.green() + 40 && c.red() > c.green() + 10;
        }
    QVERIFY2(violet > 1500, qPrintable(QString::number(violet)));
}

void AboutBoxTest::storedLogoIsABaselineJfifJpeg()
{
    QFile file(QStringLiteral(":/about/logo.jpg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray jpeg = file.readAll();
    QVERIFY(jpeg.startsWith("\xFF\xD8\xFF\xE0"));
    QCOMPARE(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    // Walk the markers to the frame header.
    qsizetype at = 2;
    while (at + 4 < jpeg.size() && uchar(jpeg[at]) == 0xFF && uchar(jpeg[at + 1]) != 0xC0) {
        QVERIFY2(uchar(jpeg[at + 1]) != 0xC2, "progressive");
        at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
    }
    QCOMPARE(uchar(jpeg[at + 1]), uchar(0xC0)); // baseline
    const auto u16 = [&](qsizetype i) { return uchar(jpeg[i]) << 8 | uchar(jpeg[i + 1]); };
    QCOMPARE(u16(at + 5), 139);            // height
    QCOMPARE(u16(at + 7), 154);            // width
    QCOMPARE(int(uchar(jpeg[at + 9])), 3); // components: Y, Cb, Cr
}

void AboutBoxTest::corruptJpegRaises_data()
{
    QFile file(QStringLiteral(":/about/logo.jpg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    QByteArray hugeFrame = good;
    // The frame header claims 60000 x 60000 pixels.
    const qsizetype sof = hugeFrame.indexOf(QByteArray("\xFF\xC0", 2));
    hugeFrame[sof + 5] = char(0xEA);
    hugeFrame[sof + 6] = char(0x60);
    hugeFrame[sof + 7] = char(0xEA);
    hugeFrame[sof + 8] = char(0x60);
    QByteArray damaged = good;
    for (qsizetype i = good.size() / 2; i < good.size() / 2 + 64; ++i)
        damaged[i] = char(0xFF);

    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a jpeg") << QByteArray("GIF89a, not what you expected");
    QTest::newRow("header only") << good.left(200);
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("damaged scan") << damaged;
    QTest::newRow("huge frame") << hugeFrame;
}

void AboutBoxTest::corruptJpegRaises()
{
    QFETCH(QByteArray, data);
    const std::span bytes(reinterpret_cast<const unsigned char *>(data.constData()),
                          std::size_t(data.size()));
    try {
        ui::TJPEGImage::Decode(bytes);
        QFAIL("decoded");
    } catch (const ui::EJPEGError &error) {
        QVERIFY(error.Message().starts_with("JPEG error: "));
        QVERIFY(error.Message().size() > 12);
    }
}

int main(int argc, char *argv[])
{
    ui::TApplication application(argc, argv);
    application.Initialize();
    AboutBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_box_test.moc"
