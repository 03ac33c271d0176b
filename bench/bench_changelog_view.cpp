// The change log viewer over a large log: reading it for the list unfiltered and narrowed to
// one person, the chain check, and the viewer opened, each against a plain read of the same
// file in the same run; and how memory grows with the lines listed.
//
//   QT_QPA_PLATFORM=offscreen bench_changelog_view [LINES]     default 1000000

#include "BenchSupport.h"

#include "signin/ChangeLogListing.h"
#include "signin/frmChangeLog.h"
#include "store/ChangeLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

namespace cl = store::changelog;
using bench::BestSeconds;
using bench::Check;

constexpr int Persons = 2000;

// One line of an ordinary day: a person's training credited, every tenth an edit of the
// person. Lines are chained as the store appends them, in blocks, without the unit of work.
cl::Change LineOf(int n) {
    cl::Change change;
    change.time = QDateTime(QDate(2020, 1, 1).addDays(n / 500), QTime(8, 0).addSecs(n % 500 * 60));
    change.user = QStringLiteral("User %1").arg(n % 7);
    const int person = n % Persons;
    change.person = QStringLiteral("2005-03-01 12:%1:%2")
                        .arg(person / 60 % 60, 2, 10, QChar(u'0'))
                        .arg(person % 60, 2, 10, QChar(u'0'));
    if (n % 10 == 0) {
        change.action = cl::action::Edited;
        change.kind = cl::kind::Person;
        change.identity = change.person;
        change.name = QStringLiteral("First%1 Last%1").arg(person);
        change.fields = {{QStringLiteral("Organization"), QStringLiteral("Patrol"),
                          QStringLiteral("Detectives")}};
    } else {
        change.action = cl::action::Credited;
        change.kind = cl::kind::Training;
        change.course = QStringLiteral("2004-01-01 09:00:%1").arg(n % 40, 2, 10, QChar(u'0'));
        change.name = QStringLiteral("First%1 Last%1: FA-%2 - Firearms").arg(person).arg(n % 40);
        change.fields = {{QStringLiteral("Training Date"), {}, QStringLiteral("03/05/2024")},
                         {QStringLiteral("Hours"), {}, QStringLiteral("8.0")}};
    }
    return change;
}

void WriteLog(int lines) {
    QFile file(store::ChangeLogFileName);
    if (!file.open(QIODevice::WriteOnly))
        bench::Fail(QStringLiteral("cannot write the log"));
    file.write(QByteArray(cl::kHeader) + '\n');
    cl::Link link = cl::HeaderLink();
    QByteArray block;
    for (int n = 1; n <= lines; ++n) {
        block += cl::ChainedLine(link, cl::ContentOf(LineOf(n)), link);
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        bench::Fail(QStringLiteral("no temporary folder"));
    WriteLog(lines);
    const qint64 bytes = QFile(store::ChangeLogFileName).size();
    std::printf("%d lines, %.1f MB\n", lines, double(bytes) / 1e6);

    const double raw = BestSeconds([] { bench::ReadRaw(store::ChangeLogFileName); });
    std::printf("plain read of the file          %7.3f s (baseline)\n", raw);
    const double chain = BestSeconds([] {
        cl::ChainCheck check;
        Check(cl::CheckChain(check));
        if (check.fault != cl::ChainCheck::Fault::None)
            bench::Fail(check.Describe());
    });
    std::printf("chain check                     %7.3f s (%.1f x the read)\n", chain, chain / raw);

    cl::ChangeFilter one;
    one.person = LineOf(1).person;
    qint64 listed = 0;
    const double person = BestSeconds([&] {
        const signin::ChangeListing listing = signin::ChangeListing::Read(one);
        Check(listing.Result());
        listed = listing.Count();
    });
    std::printf("one person's lines (%lld)       %7.3f s (%.1f x the read)\n", listed, person,
                person / raw);
    bench::PrintPeak("before the whole log was listed");
    const double whole = BestSeconds([&] {
        const signin::ChangeListing listing = signin::ChangeListing::Read({});
        Check(listing.Result());
        listed = listing.Count();
    });
    std::printf("every line (%lld)            %7.3f s (%.1f x the read)\n", listed, whole,
                whole / raw);
    bench::PrintPeak("after the whole log was listed");
    const double opened = bench::Seconds([] {
        frmChangeLog viewer;
        viewer.show();
        QCoreApplication::processEvents();
    });
    std::printf("viewer opened over every line    %7.3f s (%.1f x the read)\n", opened,
                opened / raw);
    return 0;
}
