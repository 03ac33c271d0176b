#include "fuzz/FuzzInput.h"

#include "tools/CheckCommand.h"
#include "tools/RecordFields.h"

#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Recovery.h"
#include "store/Removal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>

namespace fuzzing {

namespace {

const std::array<QString, 8> kNames = {QStringLiteral("User.List"),
                                       QStringLiteral("Name.List"),
                                       QStringLiteral("Course.Index"),
                                       QStringLiteral("Training.Records"),
                                       QStringLiteral("TempFile.$$$"),
                                       QStringLiteral("PersonRemoval.Journal"),
                                       QStringLiteral("CourseUpdate.Journal"),
                                       QStringLiteral("RecordWrite.Journal")};

void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Every record of every file, read as the windows read them.
void ReadEverything() {
    for (store::DataFile file : datatool::AllDataFiles()) {
        store::RecordFile records(store::FileNameOf(file), store::RecordLengthOf(file));
        if (!records.OpenForReading())
            continue;
        QByteArray all;
        (void)records.ReadAll(all);
        store::RecordScan scan(records);
        while (scan.Next()) {
        }
        (void)datatool::ForEachRecord(file, [](qint32, const datatool::RecordRow&) {});
    }
    std::vector<store::NumberedTraining> history;
    (void)store::ReadPersonTraining(0, history);
}

void ParseTexts(const QByteArray& bytes) {
    const QString text = QString::fromLatin1(bytes.left(64));
    (void)formats::ParseDate(text);
    (void)formats::ParseGeneralDate(text);
    (void)formats::LeadingNumber(text);
    (void)formats::IsNumeric(text);
}

} // namespace

void RunInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ParseTexts(input);
    if (input.size() < 2)
        return;
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))
        return;
    const auto present = static_cast<quint8>(input[0]);
    const auto toRemove = static_cast<quint8>(input[1]);
    qsizetype at = 2;
    for (int i = 0; i < 8; ++i) {
        if (!(present & (1 << i)))
            continue;
        int length = 0;
        if (at + 2 <= input.size())
            length = static_cast<quint8>(input[at]) | (static_cast<quint8>(input[at + 1]) << 8);
        at += 2;
        WriteFile(kNames[i], input.mid(std::min(at, input.size()), length));
        at += length;
    }

    QStringList notes;
    (void)store::FinishInterruptedWork(notes);
    (void)datatool::CheckDataFiles([](const QString&) {});
    ReadEverything();
    const auto file = static_cast<store::DataFile>(toRemove % 4);
    (void)store::RemoveMarkedRecord(file, 1 + toRemove / 4);
    (void)store::RemovePersonTraining(formats::DateValue(QDate(2014, 3, 7)));
    (void)datatool::CheckDataFiles([](const QString&) {});
    store::CloseAll();
    QDir::setCurrent(previous);
}

} // namespace fuzzing
