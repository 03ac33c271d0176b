#include "store/TrainingRules.h"

#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/HoursSum.h"
#include "store/Journal.h"
#include "store/NewFileMode.h"
#include "store/ReadOnlyStation.h"
#include "store/Rewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

// The file is lines of text:
//   Training rules 1
//   RequiredHours=24
//   Course=<the DateCreated's bits in hexadecimal>,<months>,<1 when required, else 0>
//   end
// The identity is kept as its bits because a course is found by its DateCreated exactly, and
// no decimal text of a date value is sure to read back as the same bits. Lines this program
// does not know are passed over, so a later program may add its own.
namespace store {

namespace {
const QString kHeading = QStringLiteral("Training rules 1");
const QString kHoursKey = QStringLiteral("RequiredHours");
const QString kCourseKey = QStringLiteral("Course");
const QString kEnd = QStringLiteral("end");

StoreResult NotOurs(const QString& why) {
    return StoreResult::Fail(TrainingRulesFileName, why);
}

bool ReadCourse(const QString& value, double& key, CourseRule& rule) {
    const QStringList parts = value.split(u',');
    if (parts.size() < 3)
        return false;
    bool ok[3] = {};
    const quint64 bits = parts[0].toULongLong(&ok[0], 16);
    rule.months = parts[1].toInt(&ok[1]);
    const int required = parts[2].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || rule.months < 0 || rule.months > kMaxRenewalMonths)
        return false;
    key = journal::NumberOf(QString::number(bits, 16));
    rule.required = required != 0;
    return std::isfinite(key);
}
} // namespace

CourseRule TrainingRules::RuleOf(double courseKey) const {
    const auto it = courses.find(courseKey);
    return it == courses.end() ? CourseRule{} : it->second;
}

void TrainingRules::SetRule(double courseKey, const CourseRule& rule) {
    if (rule.IsEmpty())
        courses.erase(courseKey);
    else
        courses[courseKey] = rule;
}

StoreResult ReadTrainingRules(TrainingRules& rules, const QString& folder) {
    rules = TrainingRules{};
    QFile file(QDir(folder).filePath(TrainingRulesFileName));
    if (!file.exists())
        return StoreResult::Ok();
    if (!file.open(QIODevice::ReadOnly))
        return StoreResult::Fail(TrainingRulesFileName, file.errorString());
    if (file.size() > MaxTrainingRulesBytes)
        return NotOurs(QStringLiteral("The file is too large to be the training rules."));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return StoreResult::Fail(TrainingRulesFileName, file.errorString());
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    // A whole file: its heading, its lines, "end" and the last line break.
    if (lines.size() < 3 || lines.first() != kHeading || !lines.last().isEmpty() ||
        lines.at(lines.size() - 2) != kEnd)
        return NotOurs(QStringLiteral("It does not hold training rules as this program writes "
                                      "them; it was left as it is."));
    TrainingRules read;
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        const QString name = lines[i].left(equals);
        const QString value = lines[i].mid(equals + 1);
        bool ok = true;
        if (name == kHoursKey) {
            read.requiredHours = value.toFloat(&ok);
            ok = ok && std::isfinite(read.requiredHours) && read.requiredHours >= 0;
        } else if (name == kCourseKey) {
            double key = 0;
            CourseRule rule;
            ok = ReadCourse(value, key, rule);
            if (ok)
                read.SetRule(key, rule);
        }
        if (!ok)
            return NotOurs(QStringLiteral("Line %1 cannot be read: %2").arg(i + 1).arg(lines[i]));
    }
    rules = std::move(read);
    return StoreResult::Ok();
}

StoreResult WriteTrainingRules(const TrainingRules& rules, const QString& folder) {
    const QString& name = TrainingRulesFileName;
    const QString path = QDir(folder).filePath(name);
    if (IsReadOnlyStation())
        return StoreResult::Fail(name, ReadOnlyStationReason());
    if (!rules.HasRequiredHours() && rules.courses.empty()) {
        if (::unlink(QFile::encodeName(path).constData()) != 0)
            return errno == ENOENT ? StoreResult::Ok()
                                   : StoreResult::Fail(name, qt_error_string(errno));
        return rewrite::SyncFolder(folder);
    }
    QByteArray text = kHeading.toUtf8() + '\n';
    if (rules.HasRequiredHours())
        text += kHoursKey.toUtf8() + '=' + ExactHoursText(rules.requiredHours) + '\n';
    for (const auto& [key, rule] : rules.courses)
        text += kCourseKey.toUtf8() + '=' + journal::NumberText(key).toLatin1() + ',' +
                QByteArray::number(rule.months) + ',' + (rule.required ? '1' : '0') + '\n';
    text += kEnd.toUtf8() + '\n';

    const bool fresh = !QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return StoreResult::Fail(name, file.errorString());
    if (fresh) {
        if (auto mode = GiveNewFileMode(file.handle(), path); !mode)
            return mode;
    }
    if (auto written = io::WriteAt(file.handle(), name, 0, text.constData(), text.size()); !written)
        return written;
    if (auto synced = io::Sync(file.handle(), name); !synced)
        return synced;
    if (!file.commit())
        return StoreResult::Fail(name, file.errorString());
    return rewrite::SyncFolder(folder);
}

QDate DueDate(const QDate& lastCredit, int months) {
    if (months <= 0 || !lastCredit.isValid())
        return {};
    // QDate keeps the day where the month has it and takes the month's last day otherwise.
    return lastCredit.addMonths(months);
}

QDate DueDate(double lastCredit, int months) {
    return DueDate(formats::DatePart(lastCredit), months);
}

} // namespace store
