#include <QCoreApplication>

int RunDumpCheckTests(int argc, char* argv[]);
int RunExportTests(int argc, char* argv[]);
int RunSampleUsageTests(int argc, char* argv[]);

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int failures = RunDumpCheckTests(argc, argv);
    failures += RunSampleUsageTests(argc, argv);
    failures += RunExportTests(argc, argv);
    return failures;
}
