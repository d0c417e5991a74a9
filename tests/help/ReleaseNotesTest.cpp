#include "TestRegistry.h"
#include "help/ReleaseNotes.h"

#include <QRegularExpression>
#include <QTest>

class ReleaseNotesTest : public QObject {
    Q_OBJECT
private slots:
    void layoutOfTheText()
    {
        const QString dashes(90, QLatin1Char('-'));
        QCOMPARE(ReleaseNotes::format({{"2.0", {"First", "Second"}}, {"1.0", {"Only"}}}),
                 QStringLiteral("Version 2.0\r\n"
                                "   \u00bb First\r\n"
                                "   \u00bb Second\r\n")
                     + dashes + QStringLiteral("\r\n"
                                               "Version 1.0\r\n"
                                               "   \u00bb Only\r\n"));
        // One release: no separator at all.
        QCOMPARE(ReleaseNotes::format({{"1.0", {"x"}}}), QStringLiteral("Version 1.0\r\n   \u00bb x\r\n"));
        QCOMPARE(ReleaseNotes::format({}), QString());
    }

    void everyReleaseNewestFirst()
    {
        QStringList versions;
        for (const auto& r : ReleaseNotes::history()) {
            versions << r.version;
            QVERIFY2(!r.changes.isEmpty(), qPrintable(r.version));
        }
        QCOMPARE(versions, (QStringList{"1.6", "1.5.1", "1.5", "1.4.2", "1.4.1", "1.4", "1.3.5", "1.3", "1.2",
                                        "1.1", "1.0"}));
    }

    void theShownNotesKeepTheLayout()
    {
        const QString text = ReleaseNotes::text();
        QVERIFY(text.endsWith(QStringLiteral("\r\n")));
        // Every line break is CR LF: no CR or LF on its own.
        QString rest = text;
        rest.remove(QStringLiteral("\r\n"));
        QVERIFY(!rest.contains(QLatin1Char('\r')));
        QVERIFY(!rest.contains(QLatin1Char('\n')));

        QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        const QRegularExpression version(QStringLiteral("^Version \\d+(\\.\\d+)+$"));
        const QRegularExpression change(QStringLiteral("^   \u00bb \\S.*$"));
        const QString separator(90, QLatin1Char('-'));
        int sections = 0;
        int separators = 0;
        QString previous = separator;   // the text starts like a new section
        for (const QString& line : lines) {
            if (line == separator) {
                QVERIFY2(change.match(previous).hasMatch(), "a separator follows a change line");
                ++separators;
            } else if (version.match(line).hasMatch()) {
                QVERIFY2(previous == separator, qPrintable(line));
                ++sections;
            } else {
                QVERIFY2(change.match(line).hasMatch(), qPrintable(line));
                QVERIFY2(previous != separator, qPrintable(line));
            }
            previous = line;
        }
        QVERIFY(change.match(previous).hasMatch());
        QCOMPARE(sections, 11);
        QCOMPARE(separators, 10);
    }
};

QP_REGISTER_TEST(ReleaseNotesTest)
#include "ReleaseNotesTest.moc"
