#include "DataFolder.h"

#include "store/Codepage.h"
#include "store/Records.h"

#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace store;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Doubles and singles as they lie in the files, written out by hand.
const QByteArray kTwoAndAHalf("\x00\x00\x00\x00\x00\x00\x04\x40", 8); // 2.5
const QByteArray kOne("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8);         // 1.0
const QByteArray kMinusTwo("\x00\x00\x00\x00\x00\x00\x00\xC0", 8);    // -2.0
const QByteArray kHalf("\x00\x00\x00\x00\x00\x00\xE0\x3F", 8);        // 0.5
const QByteArray kOneAndAHalfSingle("\x00\x00\xC0\x3F", 4);           // 1.5f

PersonRecord SamplePerson() {
    PersonRecord p;
    p.DateCreated = 2.5;
    p.FirstName = QStringLiteral("Mary");
    p.MiddleName = QStringLiteral("Q");
    p.LastName = QStringLiteral("Jones");
    p.Organization = QStringLiteral("Patrol");
    p.EmployeeID = QStringLiteral("E-17");
    p.Comments = QStringLiteral("Caf\u00E9");
    p.Active = -1;
    return p;
}

CourseRecord SampleCourse() {
    CourseRecord c;
    c.DateCreated = 1.0;
    c.CourseCode = QStringLiteral("FA-101");
    c.CourseName = QStringLiteral("Firearms");
    c.ProvidedBy = QStringLiteral("Academy");
    c.Hours = 1.5f;
    c.Comments = QStringLiteral("\u20AC");
    return c;
}

TrainingRecord SampleTraining() {
    TrainingRecord t;
    t.TrainingDate = 1.0;
    t.PersonKey = -2.0;
    t.CourseKey = 0.5;
    t.CourseCode = QStringLiteral("FA-101");
    t.CourseName = QStringLiteral("Firearms");
    t.ProvidedBy = QStringLiteral("Academy");
    t.Hours = 1.5f;
    t.Comments = QStringLiteral("ok");
    return t;
}

UserRecord SampleUser() {
    UserRecord u;
    u.DateCreated = 2.5;
    u.FirstName = QStringLiteral("Ann");
    u.LastName = QStringLiteral("Lee");
    u.Password = QStringLiteral("xaybzc");
    u.AccessLevel = 0x0102; // shows the byte order
    u.Comments = QStringLiteral("note");
    return u;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void roundTrips();
    void decodesDamagedUsers();
    void decodesIntoUsedRecord();
    void cutsLongText();
    void makesPersonSafe_data();
    void makesPersonSafe();
    void makesUserSafe_data();
    void makesUserSafe();
    void makesCourseAndTrainingSafe_data();
    void makesCourseAndTrainingSafe();
    void recognisesMarker_data();
    void recognisesMarker();
    void restoresFirstNameTrimmed();
    void readsPersonKeySafely();
    void readsCourseListFieldsRaw();
    void readsPersonListFieldsRaw();
};

void TestRecords::layouts_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray person = SamplePerson().Encode();
    QTest::newRow("person date") << person << 1000 << 0 << kTwoAndAHalf;
    QTest::newRow("person first") << person << 1000 << 8 << Padded("Mary", 15);
    QTest::newRow("person middle") << person << 1000 << 23 << Padded("Q", 15);
    QTest::newRow("person last") << person << 1000 << 38 << Padded("Jones", 20);
    QTest::newRow("person organization") << person << 1000 << 58 << Padded("Patrol", 30);
    QTest::newRow("person employee") << person << 1000 << 88 << Padded("E-17", 20);
    QTest::newRow("person comments") << person << 1000 << 108 << Padded("Caf\xE9", 890);
    QTest::newRow("person active") << person << 1000 << 998 << QByteArray("\xFF\xFF");

    const QByteArray course = SampleCourse().Encode();
    QTest::newRow("course date") << course << 300 << 0 << kOne;
    QTest::newRow("course code") << course << 300 << 8 << Padded("FA-101", 8);
    QTest::newRow("course name") << course << 300 << 16 << Padded("Firearms", 50);
    QTest::newRow("course provider") << course << 300 << 66 << Padded("Academy", 30);
    QTest::newRow("course hours") << course << 300 << 96 << kOneAndAHalfSingle;
    QTest::newRow("course comments") << course << 300 << 100 << Padded("\x80", 200);

    const QByteArray training = SampleTraining().Encode();
    QTest::newRow("training date") << training << 300 << 0 << kOne;
    QTest::newRow("training person") << training << 300 << 8 << kMinusTwo;
    QTest::newRow("training course") << training << 300 << 16 << kHalf;
    QTest::newRow("training code") << training << 300 << 24 << Padded("FA-101", 8);
    QTest::newRow("training name") << training << 300 << 32 << Padded("Firearms", 50);
    QTest::newRow("training provider") << training << 300 << 82 << Padded("Academy", 30);
    QTest::newRow("training hours") << training << 300 << 112 << kOneAndAHalfSingle;
    QTest::newRow("training comments") << training << 300 << 116 << Padded("ok", 184);

    const QByteArray user = SampleUser().Encode();
    QTest::newRow("user date") << user << 500 << 0 << kTwoAndAHalf;
    QTest::newRow("user first") << user << 500 << 8 << Padded("Ann", 15);
    QTest::newRow("user last") << user << 500 << 23 << Padded("Lee", 20);
    QTest::newRow("user password") << user << 500 << 43 << Padded("xaybzc", 16);
    QTest::newRow("user level") << user << 500 << 59 << QByteArray("\x02\x01");
    QTest::newRow("user comments") << user << 500 << 61 << Padded("note", 439);
}

void TestRecords::layouts() {
    QFETCH(QByteArray, record);
    QFETCH(int, size);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    QCOMPARE(record.size(), size);
    QCOMPARE(record.mid(offset, expected.size()), expected);
}

void TestRecords::roundTrips() {
    const PersonRecord p = PersonRecord::Decode(SamplePerson().Encode().constData());
    QCOMPARE(p.DateCreated, 2.5);
    QCOMPARE(p.FirstName, QStringLiteral("Mary"));
    QCOMPARE(p.MiddleName, QStringLiteral("Q"));
    QCOMPARE(p.LastName, QStringLiteral("Jones"));
    QCOMPARE(p.Organization, QStringLiteral("Patrol"));
    QCOMPARE(p.EmployeeID, QStringLiteral("E-17"));
    QCOMPARE(p.Comments, QStringLiteral("Caf\u00E9"));
    QCOMPARE(p.Active, qint16(-1));

    const CourseRecord c = CourseRecord::Decode(SampleCourse().Encode().constData());
    QCOMPARE(c.DateCreated, 1.0);
    QCOMPARE(c.CourseCode, QStringLiteral("FA-101"));
    QCOMPARE(c.CourseName, QStringLiteral("Firearms"));
    QCOMPARE(c.ProvidedBy, QStringLiteral("Academy"));
    QCOMPARE(c.Hours, 1.5f);
    QCOMPARE(c.Comments, QStringLiteral("\u20AC"));

    const TrainingRecord t = TrainingRecord::Decode(SampleTraining().Encode().constData());
    QCOMPARE(t.TrainingDate, 1.0);
    QCOMPARE(t.PersonKey, -2.0);
    QCOMPARE(t.CourseKey, 0.5);
    QCOMPARE(t.CourseCode, QStringLiteral("FA-101"));
    QCOMPARE(t.CourseName, QStringLiteral("Firearms"));
    QCOMPARE(t.ProvidedBy, QStringLiteral("Academy"));
    QCOMPARE(t.Hours, 1.5f);
    QCOMPARE(t.Comments, QStringLiteral("ok"));

    const UserRecord u = UserRecord::Decode(SampleUser().Encode().constData());
    QCOMPARE(u.DateCreated, 2.5);
    QCOMPARE(u.FirstName, QStringLiteral("Ann"));
    QCOMPARE(u.LastName, QStringLiteral("Lee"));
    QCOMPARE(u.Password, QStringLiteral("xaybzc"));
    QCOMPARE(u.AccessLevel, qint16(0x0102));
    QCOMPARE(u.Comments, QStringLiteral("note"));
}

void TestRecords::decodesDamagedUsers() {
    const QByteArray bytes = Fixture(QStringLiteral("users-damaged.bin"));
    QCOMPARE(bytes.size(), 1000);

    UserRecord first = UserRecord::Decode(bytes.constData());
    QVERIFY(std::isnan(first.DateCreated));
    QCOMPARE(first.FirstName, QStringLiteral("Ann"));
    QCOMPARE(first.LastName, QString());
    QCOMPARE(first.Password, QStringLiteral("xaybzc"));
    QCOMPARE(first.AccessLevel, qint16(9));
    QCOMPARE(first.Comments, QString());
    first.MakeSafe();
    QCOMPARE(first.DateCreated, 0.0);
    QCOMPARE(first.AccessLevel, qint16(1));

    UserRecord second = UserRecord::Decode(bytes.constData() + 500);
    QVERIFY(std::isinf(second.DateCreated));
    QCOMPARE(second.FirstName, QString());
    QCOMPARE(second.LastName, QStringLiteral(" Lee")); // stored as typed
    QCOMPARE(second.Password, QString());
    QCOMPARE(second.Comments, QStringLiteral("Caf\u00E9 \u20AC 5"));
    second.MakeSafe();
    QCOMPARE(second.DateCreated, 0.0);
    QCOMPARE(second.AccessLevel, qint16(1));
}

void TestRecords::decodesIntoUsedRecord() {
    TrainingRecord longer = SampleTraining();
    longer.CourseName = QStringLiteral("A course with a rather long name");
    longer.Comments = QString(184, QLatin1Char('c'));
    TrainingRecord shorter = SampleTraining();
    shorter.CourseName = QStringLiteral("Short");
    shorter.Comments.clear();

    TrainingRecord buffer;
    buffer.DecodeFrom(longer.Encode().constData());
    const QString heldName = buffer.CourseName; // a caller's copy must not change
    buffer.DecodeFrom(shorter.Encode().constData());
    QCOMPARE(buffer.CourseName, QStringLiteral("Short"));
    QCOMPARE(buffer.Comments, QString());
    QCOMPARE(heldName, QStringLiteral("A course with a rather long name"));
    buffer.DecodeFrom(longer.Encode().constData());
    QCOMPARE(buffer.CourseName, QStringLiteral("A course with a rather long name"));
    QCOMPARE(buffer.Comments, QString(184, QLatin1Char('c')));
}

void TestRecords::cutsLongText() {
    PersonRecord p;
    p.FirstName = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    p.LastName = QStringLiteral("Lee");
    const PersonRecord back = PersonRecord::Decode(p.Encode().constData());
    QCOMPARE(back.FirstName, QStringLiteral("ABCDEFGHIJKLMNO"));
    QCOMPARE(back.LastName, QStringLiteral("Lee"));
    QCOMPARE(back.MiddleName, QString());
}

void TestRecords::makesPersonSafe_data() {
    QTest::addColumn<double>("date");
    QTest::addColumn<int>("active");
    QTest::addColumn<double>("safeDate");
    QTest::addColumn<int>("safeActive");
    QTest::newRow("sound") << 41705.5 << -1 << 41705.5 << -1;
    QTest::newRow("inactive") << -1.25 << 0 << -1.25 << 0;
    QTest::newRow("NaN, flag 1") << kNaN << 1 << 0.0 << -1;
    QTest::newRow("inf, flag 5") << kInf << 5 << 0.0 << -1;
    QTest::newRow("-inf, lowest flag") << -kInf << -32768 << 0.0 << -1;
}

void TestRecords::makesPersonSafe() {
    QFETCH(double, date);
    QFETCH(int, active);
    QFETCH(double, safeDate);
    QFETCH(int, safeActive);
    PersonRecord p;
    p.DateCreated = date;
    p.Active = static_cast<qint16>(active);
    p.MakeSafe();
    QCOMPARE(p.DateCreated, safeDate);
    QCOMPARE(int(p.Active), safeActive);
}

void TestRecords::makesUserSafe_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("safeLevel");
    for (int level = 1; level <= 4; ++level)
        QTest::addRow("level %d", level) << level << level;
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("5") << 5 << 1;
    QTest::newRow("9") << 9 << 1;
    QTest::newRow("-1") << -1 << 1;
    QTest::newRow("32767") << 32767 << 1;
}

void TestRecords::makesUserSafe() {
    QFETCH(int, level);
    QFETCH(int, safeLevel);
    UserRecord u;
    u.DateCreated = kNaN;
    u.AccessLevel = static_cast<qint16>(level);
    u.MakeSafe();
    QCOMPARE(int(u.AccessLevel), safeLevel);
    QCOMPARE(u.DateCreated, 0.0);
}

void TestRecords::makesCourseAndTrainingSafe_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("safe");
    QTest::newRow("sound") << 1.5 << 1.5;
    QTest::newRow("NaN") << kNaN << 0.0;
    QTest::newRow("inf") << kInf << 0.0;
    QTest::newRow("-inf") << -kInf << 0.0;
}

void TestRecords::makesCourseAndTrainingSafe() {
    QFETCH(double, value);
    QFETCH(double, safe);
    CourseRecord c;
    c.DateCreated = value;
    c.Hours = static_cast<float>(value);
    c.MakeSafe();
    QCOMPARE(c.DateCreated, safe);
    QCOMPARE(c.Hours, static_cast<float>(safe));

    TrainingRecord t;
    t.TrainingDate = value;
    t.PersonKey = value;
    t.CourseKey = value;
    t.Hours = static_cast<float>(value);
    t.MakeSafe();
    QCOMPARE(t.TrainingDate, safe);
    QCOMPARE(t.PersonKey, safe);
    QCOMPARE(t.CourseKey, safe);
    QCOMPARE(t.Hours, static_cast<float>(safe));
}

void TestRecords::recognisesMarker_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<bool>("marked");
    const char* names[] = {"person", "user"};
    for (const char* kind : names) {
        const QString k = QString::fromLatin1(kind);
        QTest::addRow("%s marker", kind) << k << Padded("$Killed$", 15) << true;
        QTest::addRow("%s marker after blanks", kind) << k << Padded("  $Killed$", 15) << true;
        QTest::addRow("%s marker with NULs", kind)
            << k << QByteArray("\0$Killed$\0\0\0\0\0\0", 15) << true;
        QTest::addRow("%s other case", kind) << k << Padded("$killed$", 15) << false;
        QTest::addRow("%s longer", kind) << k << Padded("$Killed$x", 15) << false;
        QTest::addRow("%s name", kind) << k << Padded("Ann", 15) << false;
    }
    const char* coded[] = {"course", "training"};
    for (const char* kind : coded) {
        const QString k = QString::fromLatin1(kind);
        QTest::addRow("%s marker", kind) << k << QByteArray("$Killed$") << true;
        QTest::addRow("%s shifted", kind) << k << QByteArray(" $Killed") << false;
        QTest::addRow("%s cut", kind) << k << QByteArray("$Killed ") << false;
        QTest::addRow("%s code", kind) << k << Padded("FA-101", 8) << false;
    }
}

void TestRecords::recognisesMarker() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, field);
    QFETCH(bool, marked);
    if (kind == QLatin1String("person")) {
        QByteArray bytes = SamplePerson().Encode();
        bytes.replace(8, 15, field);
        QCOMPARE(PersonRecord::IsMarkedRaw(bytes.constData()), marked);
        QCOMPARE(PersonRecord::Decode(bytes.constData()).IsMarked(), marked);
    } else if (kind == QLatin1String("user")) {
        QByteArray bytes = SampleUser().Encode();
        bytes.replace(8, 15, field);
        QCOMPARE(UserRecord::IsMarkedRaw(bytes.constData()), marked);
        QCOMPARE(UserRecord::Decode(bytes.constData()).IsMarked(), marked);
    } else if (kind == QLatin1String("course")) {
        QByteArray bytes = SampleCourse().Encode();
        bytes.replace(8, 8, field);
        QCOMPARE(CourseRecord::IsMarkedRaw(bytes.constData()), marked);
        QCOMPARE(CourseRecord::Decode(bytes.constData()).IsMarked(), marked);
    } else {
        QByteArray bytes = SampleTraining().Encode();
        bytes.replace(24, 8, field);
        QCOMPARE(TrainingRecord::IsMarkedRaw(bytes.constData()), marked);
        QCOMPARE(TrainingRecord::Decode(bytes.constData()).IsMarked(), marked);
    }
}

void TestRecords::restoresFirstNameTrimmed() {
    const QByteArray untidy("\0 Ann\0\0\0\0\0\0\0\0\0\0", 15);
    QByteArray person = SamplePerson().Encode();
    person.replace(8, 15, untidy);
    QByteArray expected = person;
    expected.replace(8, 15, Padded("Ann", 15));
    PersonRecord::TrimFirstNameRaw(person.data());
    QCOMPARE(person, expected);

    QByteArray user = SampleUser().Encode();
    user.replace(8, 15, untidy);
    expected = user;
    expected.replace(8, 15, Padded("Ann", 15));
    UserRecord::TrimFirstNameRaw(user.data());
    QCOMPARE(user, expected);
}

void TestRecords::readsPersonKeySafely() {
    QByteArray training = SampleTraining().Encode();
    QCOMPARE(TrainingRecord::PersonKeyRaw(training.constData()), -2.0);
    training.replace(8, 8, QByteArray("\x00\x00\x00\x00\x00\x00\xF8\x7F", 8)); // NaN
    QCOMPARE(TrainingRecord::PersonKeyRaw(training.constData()), 0.0);
}

void TestRecords::readsCourseListFieldsRaw() {
    QByteArray stored = SampleCourse().Encode();
    const auto field = [&stored](FieldSpan span) {
        return DecodeField(stored.constData() + span.offset, span.width);
    };
    CourseRecord decoded = CourseRecord::Decode(stored.constData());
    QCOMPARE(field(CourseRecord::CodeSpan), decoded.CourseCode);
    QCOMPARE(field(CourseRecord::NameSpan), decoded.CourseName);
    QCOMPARE(field(CourseRecord::ProviderSpan), decoded.ProvidedBy);
    QCOMPARE(CourseRecord::DateCreatedRaw(stored.constData()), decoded.DateCreated);
    QCOMPARE(CourseRecord::HoursRaw(stored.constData()), decoded.Hours);

    // Damaged numbers read as MakeSafe leaves them.
    stored.replace(0, 8, QByteArray("\x00\x00\x00\x00\x00\x00\xF0\x7F", 8)); // +infinity
    stored.replace(96, 4, QByteArray("\x00\x00\xC0\x7F", 4));                // NaN
    decoded = CourseRecord::Decode(stored.constData());
    decoded.MakeSafe();
    QCOMPARE(CourseRecord::DateCreatedRaw(stored.constData()), decoded.DateCreated);
    QCOMPARE(CourseRecord::HoursRaw(stored.constData()), decoded.Hours);
    QCOMPARE(decoded.Hours, 0.0f);
}

void TestRecords::readsPersonListFieldsRaw() {
    QByteArray stored = SamplePerson().Encode();
    const PersonRecord decoded = PersonRecord::Decode(stored.constData());
    const auto field = [&stored](FieldSpan span) {
        return DecodeField(stored.constData() + span.offset, span.width);
    };
    for (const FieldSpan span : {PersonRecord::FirstNameSpan, PersonRecord::MiddleNameSpan,
                                 PersonRecord::LastNameSpan, PersonRecord::OrganizationSpan})
        QVERIFY(span.offset + span.width <= PersonRecord::ListedBytes);
    QCOMPARE(field(PersonRecord::FirstNameSpan), decoded.FirstName);
    QCOMPARE(field(PersonRecord::MiddleNameSpan), decoded.MiddleName);
    QCOMPARE(field(PersonRecord::LastNameSpan), decoded.LastName);
    QCOMPARE(field(PersonRecord::OrganizationSpan), decoded.Organization);
    QCOMPARE(PersonRecord::DateCreatedRaw(stored.constData()), decoded.DateCreated);
    QVERIFY(PersonRecord::IsActiveRaw(stored.constData()));

    // Any flag but 0 is active, as MakeSafe reads it; 0 is inactive.
    for (const qint16 flag : {qint16(0), qint16(1), qint16(-1), qint16(7)}) {
        qToLittleEndian(flag, stored.data() + 998);
        PersonRecord person = PersonRecord::Decode(stored.constData());
        person.MakeSafe();
        QCOMPARE(PersonRecord::IsActiveRaw(stored.constData()), person.Active != 0);
    }
}

QTEST_APPLESS_MAIN(TestRecords)
#include "test_records.moc"
