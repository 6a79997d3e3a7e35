// The faces the documents name resolve to metric-compatible faces that hold every letter the
// documents print, in every style they use, instead of a default face without them.

#include "quillmar/document_fonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QRawFont>
#include <QTest>

namespace {

// The Russian alphabet in both cases and the signs the documents print around it.
QString printedLetters()
{
    QString letters;
    for (char16_t c = u'А'; c <= u'я'; ++c)
        letters += QChar(c);
    return letters + QStringLiteral("Ёё№«»—–…");
}

} // namespace

class DocumentFontsTest final : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { quillmar::SubstituteDocumentFonts(); }

    void resolvesToCompatibleFaceWithCyrillic_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QStringList>("acceptable");
        // The face itself where it is installed, else its metric-compatible stand-ins.
        QTest::newRow("Arial") << QStringLiteral("Arial")
                               << QStringList{QStringLiteral("Arial"),
                                              QStringLiteral("Liberation Sans"),
                                              QStringLiteral("Arimo")};
        QTest::newRow("Times New Roman")
            << QStringLiteral("Times New Roman")
            << QStringList{QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                           QStringLiteral("Tinos")};
        // No metric twin exists; a serif that keeps the line lengths near, never a sans.
        QTest::newRow("Minion Pro Cyr")
            << QStringLiteral("Minion Pro Cyr")
            << QStringList{QStringLiteral("Minion Pro"), QStringLiteral("Liberation Serif")};
    }

    void resolvesToCompatibleFaceWithCyrillic()
    {
        QFETCH(QString, requested);
        QFETCH(QStringList, acceptable);
        const QString letters = printedLetters();
        for (const auto &[bold, italic] : {std::pair{false, false}, std::pair{true, false},
                                           std::pair{false, true}, std::pair{true, true}}) {
            QFont font;
            font.setFamilies({requested});
            font.setPointSize(10);
            font.setBold(bold);
            font.setItalic(italic);
            const QString style = QStringLiteral("bold %1 italic %2").arg(bold).arg(italic);

            const QFontInfo info(font);
            QVERIFY2(acceptable.contains(info.family(), Qt::CaseInsensitive),
                     qPrintable(requested + QStringLiteral(" (") + style
                                + QStringLiteral(") shows as ") + info.family()));
            QCOMPARE(info.bold(), bold);
            QCOMPARE(info.italic(), italic);

            // The primary face alone, without Qt's per-character fallback, has every letter.
            // (A substituted face's name comes back lower-cased.)
            const QRawFont raw = QRawFont::fromFont(font);
            QCOMPARE(raw.familyName().toCaseFolded(), info.family().toCaseFolded());
            for (const QChar letter : letters) {
                QVERIFY2(raw.supportsCharacter(letter),
                         qPrintable(info.family() + QStringLiteral(" (") + style
                                    + QStringLiteral(") lacks ") + letter));
            }
        }
    }
};

QTEST_MAIN(DocumentFontsTest)
#include "document_fonts_test.moc"
