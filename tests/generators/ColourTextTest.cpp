#include "TestRegistry.h"
#include "generators/ColourText.h"

#include <QTest>

class ColourTextTest : public QObject {
    Q_OBJECT
private slots:
    // The dialog's colour, its 0x00BBGGRR value, and the text written.
    void fromDialogColour_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<uint>("colorRef");
        QTest::addColumn<QString>("text");
        QTest::newRow("red") << QColor(255, 0, 0) << 255u << "#FF0000";
        QTest::newRow("black") << QColor(0, 0, 0) << 0u << "#000000";
        QTest::newRow("white") << QColor(255, 255, 255) << 0xFFFFFFu << "#FFFFFF";
        QTest::newRow("green") << QColor(0, 255, 0) << 0x00FF00u << "#00FF00";
        QTest::newRow("blue") << QColor(0, 0, 255) << 0xFF0000u << "#0000FF";
        QTest::newRow("each channel apart") << QColor(0x12, 0x34, 0x56) << 0x563412u << "#123456";
        QTest::newRow("low digits keep their zero") << QColor(1, 2, 3) << 0x030201u << "#010203";
        QTest::newRow("a colour given as HSV") << QColor::fromHsv(0, 255, 255) << 255u << "#FF0000";
    }

    void fromDialogColour()
    {
        QFETCH(QColor, colour);
        QFETCH(uint, colorRef);
        QFETCH(QString, text);
        QCOMPARE(uint(ColourText::colorRef(colour)), colorRef);
        QCOMPARE(ColourText::fromColorRef(colorRef), text);
    }
};

QP_REGISTER_TEST(ColourTextTest)
#include "ColourTextTest.moc"
