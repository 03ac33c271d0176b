#include "tools/SampleData.h"

#include "tools/RecordFields.h"
#include "tools/SampleWords.h"

#include "store/Clock.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/TrainingRules.h"
#include "store/UserLog.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <random>
#include <utility>
#include <vector>

namespace datatool {
namespace {

using store::StoreResult;

// Records are gathered and written in blocks of about this size.
constexpr qsizetype BlockSize = 1 << 20;

// Our own draws from a seeded engine: the standard distributions may draw differently from
// one library to the next, and the same seed must give the same files everywhere.
class SampleRandom {
public:
    explicit SampleRandom(quint64 seed) : engine_(seed) {}

    // 0 to n-1; the modulo's bias is far too small to matter for sample data.
    quint64 Below(quint64 n) { return engine_() % n; }
    bool Percent(quint64 percent) { return Below(100) < percent; }
    template <class T> const T& Pick(std::span<const T> items) {
        return items[Below(items.size())];
    }
    QString Word(std::span<const char* const> words) { return QString::fromUtf8(Pick(words)); }

private:
    std::mt19937_64 engine_;
};

// Creation stamps in whole seconds, each one to sixty minutes after the one before, so
// that no two records of a file share an identity.
class StampClock {
public:
    double Next(SampleRandom& random) {
        seconds_ += 60 + static_cast<qint64>(random.Below(3600));
        return formats::DateValue(base_.addDays(seconds_ / 86400),
                                  QTime(0, 0).addSecs(static_cast<int>(seconds_ % 86400)));
    }

private:
    QDate base_{2004, 1, 5};
    qint64 seconds_ = 8 * 3600; // from 08:00
};

// Writes `count` records made by `next` into the folder's file in large blocks; a file of
// no records is removed instead.
StoreResult WriteRecords(const QString& folder, store::DataFile which, qint64 count,
                         const std::function<QByteArray()>& next) {
    const QString name = store::FileNameOf(which);
    QFile file(QDir(folder).filePath(name));
    if (count == 0) {
        if (file.exists() && !file.remove()) {
            return StoreResult::Fail(name, file.errorString());
        }
        return StoreResult::Ok();
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return StoreResult::Fail(name, file.errorString());
    }
    QByteArray block;
    block.reserve(BlockSize + store::RecordLengthOf(which));
    for (qint64 i = 0; i < count; ++i) {
        block.append(next());
        if (block.size() >= BlockSize || i + 1 == count) {
            if (file.write(block) != block.size()) {
                return StoreResult::Fail(name, file.errorString());
            }
            block.clear();
        }
    }
    if (!file.flush()) {
        return StoreResult::Fail(name, file.errorString());
    }
    return StoreResult::Ok();
}

QString RandomPassword(SampleRandom& random) {
    static const QString alphabet =
        QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    QString password;
    const quint64 length = 6 + random.Below(3); // 6 to 8 of the 4 to 8 allowed
    for (quint64 i = 0; i < length; ++i) {
        password.append(alphabet.at(static_cast<qsizetype>(random.Below(alphabet.size()))));
    }
    return password;
}

// The stored form of a password, a filler before each character as store::ScramblePassword
// writes it, but with fillers from our seeded draws so that the file comes out the same.
QString ScrambleWithFillers(const QString& password, SampleRandom& random) {
    QString scrambled;
    for (const QChar c : password) {
        scrambled.append(RandomPassword(random).at(0));
        scrambled.append(c);
    }
    return scrambled;
}

StoreResult WriteUser(const QString& folder, SampleRandom& random, StampClock& clock,
                      SampleSummary& summary) {
    store::UserRecord user;
    user.DateCreated = clock.Next(random);
    user.FirstName = random.Word(words::FirstNames());
    user.LastName = random.Word(words::LastNames());
    summary.userFirstName = user.FirstName;
    summary.userLastName = user.LastName;
    summary.userPassword = RandomPassword(random);
    user.Password = ScrambleWithFillers(summary.userPassword, random);
    user.AccessLevel = 4;
    user.Comments = QStringLiteral("Made by mirtavel-data sample");
    return WriteRecords(folder, store::DataFile::UserList, 1, [&] { return user.Encode(); });
}

QString CourseName(const QString& topic, qint64 round) {
    switch (round) {
    case 0:
        return topic;
    case 1:
        return topic + QStringLiteral(" Refresher");
    case 2:
        return QStringLiteral("Advanced ") + topic;
    default:
        return QStringLiteral("%1 - Session %2").arg(topic).arg(round - 1);
    }
}

// The catalogue: first a heading (0 hours, code XXX-0000) for each category used, then the
// courses, dealt to the categories in turn and numbered XXX-0001 upwards within each.
std::vector<store::CourseRecord> MakeCourses(qint32 count, SampleRandom& random, StampClock& clock,
                                             qint32& headings) {
    const std::span<const words::CourseCategory> categories = words::CourseCategories();
    headings = count >= 2 ? std::clamp<qint32>(count / 10, 1, qint32(categories.size())) : 0;
    const qint32 groups = std::max(headings, 1);
    std::vector<store::CourseRecord> courses(static_cast<std::size_t>(count));
    std::vector<qint32> numbers(static_cast<std::size_t>(groups), 0);
    for (qint32 i = 0; i < count; ++i) {
        const bool heading = i < headings;
        const qint32 group = heading ? i : (i - headings) % groups;
        const words::CourseCategory& category = categories[static_cast<std::size_t>(group)];
        const qint32 number = heading ? 0 : ++numbers[static_cast<std::size_t>(group)];
        store::CourseRecord& course = courses[static_cast<std::size_t>(i)];
        course.DateCreated = clock.Next(random);
        course.CourseCode = QStringLiteral("%1-%2")
                                .arg(QString::fromLatin1(category.prefix))
                                .arg(number, 4, 10, QChar(u'0'));
        if (heading) {
            course.CourseName = QString::fromLatin1(category.heading);
            continue;
        }
        const qint64 topics = qint64(category.topics.size());
        course.CourseName = CourseName(
            QString::fromUtf8(category.topics[static_cast<std::size_t>((number - 1) % topics)]),
            (number - 1) / topics);
        course.ProvidedBy = random.Word(words::Providers());
        course.Hours = random.Pick(words::CourseHours());
        if (random.Percent(30)) {
            course.Comments = random.Word(words::CourseComments());
        }
    }
    return courses;
}

store::PersonRecord MakePerson(qint32 index, SampleRandom& random, StampClock& clock) {
    store::PersonRecord person;
    person.DateCreated = clock.Next(random);
    person.FirstName = random.Word(words::FirstNames());
    if (random.Percent(40)) {
        person.MiddleName = random.Word(words::MiddleNames());
    }
    person.LastName = random.Word(words::LastNames());
    person.Organization = random.Word(words::Organizations());
    person.EmployeeID = QStringLiteral("PD%1").arg(index + 1, 5, 10, QChar(u'0'));
    if (random.Percent(20)) {
        person.Comments = random.Word(words::PersonComments());
    }
    person.Active = random.Percent(85) ? -1 : 0;
    return person;
}

// Training records in the order they were credited: the dates run over the twenty years up
// to `lastDay`, and each session credits one course on one date to a few persons at once, as
// the credit window does.
class TrainingSessions {
public:
    TrainingSessions(qint64 count, const std::vector<double>& persons,
                     std::vector<store::CourseRecord> courses, SampleRandom& random, bool anyOrder,
                     QDate lastDay)
        : firstDay_(formats::DateValue(lastDay.addDays(1 - TotalDays))), count_(count),
          persons_(persons), courses_(std::move(courses)), random_(random), anyOrder_(anyOrder) {}

    QByteArray Next() {
        if (left_ == 0) {
            StartSession();
        }
        --left_;
        ++made_;
        record_.PersonKey = persons_[random_.Below(persons_.size())];
        return record_.Encode();
    }

private:
    void StartSession() {
        const store::CourseRecord& course = courses_[random_.Below(courses_.size())];
        const qint64 day = anyOrder_ ? qint64(random_.Below(TotalDays))
                                     : made_ * TotalDays / count_ + qint64(random_.Below(7));
        record_.TrainingDate = firstDay_ + double(std::min(day, TotalDays - 1));
        record_.CourseKey = course.DateCreated;
        record_.CourseCode = course.CourseCode;
        record_.CourseName = course.CourseName;
        record_.ProvidedBy = course.ProvidedBy;
        record_.Hours = course.Hours;
        record_.Comments =
            random_.Percent(40) ? random_.Word(words::TrainingComments()) : QString();
        left_ = 1 + qint64(random_.Below(8));
        // The last session is held on the last day, however few the records: a summary of
        // this year then has something to show even where sessions lie months apart.
        if (made_ + left_ >= count_)
            record_.TrainingDate = firstDay_ + double(TotalDays - 1);
    }

    static constexpr qint64 TotalDays = 7305; // twenty years, five of them leap years

    const double firstDay_;
    qint64 count_;
    const std::vector<double>& persons_;
    std::vector<store::CourseRecord> courses_; // those with hours
    SampleRandom& random_;
    bool anyOrder_;
    store::TrainingRecord record_;
    qint64 left_ = 0;
    qint64 made_ = 0;
};

} // namespace

QStringList ExistingRecordFiles(const QString& folder) {
    QStringList existing;
    for (store::DataFile file : AllDataFiles()) {
        if (QFile::exists(QDir(folder).filePath(store::FileNameOf(file)))) {
            existing.append(store::FileNameOf(file));
        }
    }
    return existing;
}

QString SampleOptionsProblem(const SampleOptions& options) {
    // Every course but the headings has hours, and any catalogue has at least one such course.
    if (options.records > 0 && (options.persons == 0 || options.courses == 0)) {
        return QStringLiteral("training records need at least one person and one course");
    }
    return {};
}

// What the department requires: 24 hours a year; firearms courses last a year and CPR two,
// and the first handgun qualification and CPR course are required of every active person.
// Made from the catalogue alone, so the record files are the same bytes with or without it.
store::TrainingRules SampleRules(const std::vector<store::CourseRecord>& courses) {
    store::TrainingRules rules;
    rules.requiredHours = 24;
    bool firearmsRequired = false;
    bool cprRequired = false;
    for (const store::CourseRecord& course : courses) {
        if (course.Hours <= 0)
            continue; // a heading
        if (course.CourseCode.startsWith(QStringLiteral("FIR-"))) {
            rules.SetRule(course.DateCreated, {12, !std::exchange(firearmsRequired, true)});
        } else if (course.CourseName.contains(QStringLiteral("CPR"))) {
            rules.SetRule(course.DateCreated, {24, !std::exchange(cprRequired, true)});
        }
    }
    return rules;
}

StoreResult WriteSample(const QString& folder, const SampleOptions& options,
                        SampleSummary& summary) {
    if (const QString problem = SampleOptionsProblem(options); !problem.isEmpty()) {
        return StoreResult::Fail(store::FileNameOf(store::DataFile::TrainingRecords), problem);
    }
    SampleRandom random(options.seed);
    StampClock clock;
    if (StoreResult result = WriteUser(folder, random, clock, summary); !result) {
        return result;
    }

    const std::vector<store::CourseRecord> courses =
        MakeCourses(options.courses, random, clock, summary.headings);
    std::size_t next = 0;
    if (StoreResult result = WriteRecords(folder, store::DataFile::CourseIndex, options.courses,
                                          [&] { return courses[next++].Encode(); });
        !result) {
        return result;
    }
    if (StoreResult result = store::WriteTrainingRules(SampleRules(courses), folder); !result) {
        return result;
    }

    std::vector<double> persons;
    persons.reserve(static_cast<std::size_t>(options.persons));
    if (StoreResult result = WriteRecords(folder, store::DataFile::NameList, options.persons,
                                          [&] {
                                              const store::PersonRecord person =
                                                  MakePerson(qint32(persons.size()), random, clock);
                                              persons.push_back(person.DateCreated);
                                              return person.Encode();
                                          });
        !result) {
        return result;
    }

    std::vector<store::CourseRecord> creditable;
    std::copy_if(courses.begin(), courses.end(), std::back_inserter(creditable),
                 [](const store::CourseRecord& course) { return course.Hours > 0; });
    // Up to today, so that this year's and last year's summaries have something to show;
    // the same clock and seed give the same files.
    TrainingSessions sessions(options.records, persons, std::move(creditable), random,
                              options.datesInAnyOrder, store::CurrentDateTime().date());
    return WriteRecords(folder, store::DataFile::TrainingRecords, options.records,
                        [&] { return sessions.Next(); });
}

} // namespace datatool
