// Every input of the fuzz corpus runs again: whatever the fuzzer once found stays fixed.
#include "fuzz/FuzzInput.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestFuzzCorpus : public QObject {
    Q_OBJECT

private slots:
    void runsEveryInput_data() {
        QTest::addColumn<QString>("path");
        const QDir corpus(QStringLiteral(MIRTAVEL_TEST_DATA "/fuzz"));
        const QStringList inputs = corpus.entryList({QStringLiteral("*.bin")}, QDir::Files);
        QVERIFY(!inputs.isEmpty());
        for (const QString& name : inputs)
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }
    void runsEveryInput() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        const QString before = QDir::currentPath();
        fuzzing::RunInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                          static_cast<std::size_t>(input.size()));
        QCOMPARE(QDir::currentPath(), before);
    }
};

QTEST_APPLESS_MAIN(TestFuzzCorpus)
#include "test_fuzz_corpus.moc"
