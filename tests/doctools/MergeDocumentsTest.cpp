#include "TestRegistry.h"
#include "doctools/MergeDocuments.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Texts = std::array<std::optional<QByteArray>, 3>;
Q_DECLARE_METATYPE(Texts)
Q_DECLARE_METATYPE(LineBreak)

namespace {

// The files of the boxes that hold one, in a folder of their own.
struct Files {
    QTemporaryDir dir;
    std::array<QString, 3> paths;
    explicit Files(const Texts& texts)
    {
        for (std::size_t i = 0; i < 3; ++i) {
            if (!texts[i])
                continue;
            paths[i] = dir.filePath(QString::number(i + 1));
            QFile f(paths[i]);
            if (!f.open(QIODevice::WriteOnly) || f.write(*texts[i]) != texts[i]->size())
                qWarning("cannot write %s", qPrintable(paths[i]));
        }
    }
};

}

// The merged text: separators only between files that take part, every line
// break in the document's style, and nothing merged that would make the
// document too large.
class MergeDocumentsTest : public QObject {
    Q_OBJECT
private slots:
    void write_data()
    {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<int>("lines");
        QTest::addColumn<LineBreak>("style");
        QTest::addColumn<QByteArray>("merged");
        const QByteArray a("a"), b("b"), c("c");
        const auto crlf = LineBreak::CrLf;
        QTest::newRow("-1 joins with nothing") << Texts{a, b, std::nullopt} << -1 << crlf << QByteArray("ab");
        QTest::newRow("0: next line") << Texts{a, b, std::nullopt} << 0 << crlf << QByteArray("a\r\nb");
        QTest::newRow("2: two empty lines") << Texts{a, b, std::nullopt} << 2 << crlf << QByteArray("a\r\n\r\n\r\nb");
        QTest::newRow("-7: nothing") << Texts{a, b, c} << -7 << crlf << QByteArray("abc");
        QTest::newRow("all three") << Texts{a, b, c} << 0 << crlf << QByteArray("a\r\nb\r\nc");
        QTest::newRow("1 and 3: one separator") << Texts{a, std::nullopt, c} << 1 << crlf << QByteArray("a\r\n\r\nc");
        QTest::newRow("only 2: no leading breaks") << Texts{std::nullopt, b, std::nullopt} << 3 << crlf
                                                   << QByteArray("b");
        QTest::newRow("an empty file takes part") << Texts{a, QByteArray(), c} << 0 << crlf
                                                  << QByteArray("a\r\n\r\nc");
        QTest::newRow("no box") << Texts{} << 5 << crlf << QByteArray();
        QTest::newRow("every break in CR LF")
            << Texts{QByteArray("x\n"), QByteArray("\ry\r\n"), std::nullopt} << 0 << crlf
            << QByteArray("x\r\n\r\n\r\ny\r\n");
        QTest::newRow("every break in LF, separators too")
            << Texts{QByteArray("x\r\n1\r2"), QByteArray("y\n"), std::nullopt} << 1 << LineBreak::Lf
            << QByteArray("x\n1\n2\n\ny\n");
        QTest::newRow("every break in CR") << Texts{QByteArray("x\r\ny"), QByteArray("\n"), std::nullopt} << -1
                                           << LineBreak::Cr << QByteArray("x\ry\r");
        QTest::newRow("a CR ending one file and an LF starting the next are one break")
            << Texts{QByteArray("x\r"), QByteArray("\ny"), std::nullopt} << -1 << LineBreak::Lf
            << QByteArray("x\ny");
        QTest::newRow("files decoded as documents are")
            << Texts{QByteArray("caf\xE9"), QByteArray("\xFF\xFE" "b\0\n\0", 6), QByteArray("\xEF\xBB\xBF" "c")}
            << -1 << LineBreak::Lf << QByteArray("caf\xC3\xA9" "b\nc");
    }
    void write()
    {
        QFETCH(Texts, texts);
        QFETCH(int, lines);
        QFETCH(LineBreak, style);
        QFETCH(QByteArray, merged);
        const Files files(texts);
        QByteArray got;
        const Result<> r =
            MergeDocuments::write({files.paths, lines, style}, 0, [&](const char* p, qsizetype n) { got.append(p, n); });
        QVERIFY2(r.ok(), qPrintable(r.error()));
        QCOMPARE(got, merged);
    }

    // Pieces cut anywhere (between a CR and its LF too) come out as the
    // whole text would, in pieces no larger than the writer's.
    void lineBreaksAcrossPieces()
    {
        const QByteArray text = QByteArray("line\r\ncr\rlf\n").repeated(1000)
                                + QByteArray(MergeDocuments::LineBreakWriter::kPiece + 10, 'x') + "\r";
        const QByteArray expected = QByteArray(text).replace("\r\n", "\n").replace('\r', '\n');
        for (const qsizetype cut : {qsizetype(1), qsizetype(7), text.size()}) {
            QByteArray got;
            qsizetype largest = 0;
            const TextFile::Utf8Sink sink = [&](const char* p, qsizetype n) {
                got.append(p, n);
                largest = std::max(largest, n);
            };
            MergeDocuments::LineBreakWriter writer(LineBreak::Lf, sink);
            for (qsizetype at = 0; at < text.size(); at += cut)
                writer.write(text.constData() + at, std::min(cut, text.size() - at));
            writer.finish();
            QCOMPARE(got, expected);
            QVERIFY(largest <= MergeDocuments::LineBreakWriter::kPiece + 2);
        }
    }

    // The files' sizes, the separators and what stays of the document
    // against the longest document: refused before anything is read, in the
    // words a file too large to open gets. Text that turns out longer than
    // the sizes said (Windows-1252 letters take two bytes) is refused as well.
    void tooLarge_data()
    {
        QTest::addColumn<int>("kept");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("before");   // checkSize's failure ("" none)
        QTest::addColumn<QString>("after");    // write's failure
        const QString bytes = QStringLiteral("The file is too large to edit: it has %1 bytes, and the editor can "
                                             "hold at most 20");
        const QString text = QStringLiteral("The file is too large to edit: its %1 bytes make more than 20 bytes "
                                            "of text, the most the editor can hold");
        QTest::newRow("at the limit") << 8 << QByteArray("12345") << "" << "";
        QTest::newRow("one byte over") << 9 << QByteArray("12345") << bytes.arg(21) << text.arg(21);
        QTest::newRow("longer as text than on disk") << 8 << QByteArray("\xE9\xE9\xE9\xE9\xE9") << ""
                                                     << text.arg(20);
    }
    void tooLarge()
    {
        QFETCH(int, kept);
        QFETCH(QByteArray, second);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const Files files(Texts{QByteArray("12345"), second, std::nullopt});
        const MergeDocuments::Merge merge{files.paths, 0, LineBreak::CrLf};   // 12345 CR LF second
        QCOMPARE(MergeDocuments::checkSize(merge, kept, 20).error(), before);
        QByteArray got;
        const Result<> r =
            MergeDocuments::write(merge, kept, [&](const char* p, qsizetype n) { got.append(p, n); }, 20);
        QCOMPARE(r.error(), after);
        if (!after.isEmpty())
            QCOMPARE(got, QByteArray());
    }
};

QP_REGISTER_TEST(MergeDocumentsTest)
#include "MergeDocumentsTest.moc"
